#!/bin/sh
# The Debian package made from this build folder (nothing is compiled
# again): it unpacks into the program under /usr/lib/zavik with its resource
# folder, /usr/bin/zavik leading to it, the desktop entry, icons, metainfo
# and manual page; the unpacked program answers --version; lintian finds no
# error and the desktop entry and metainfo validate. The portable install
# stays as it was. Skipped where the package tools are not installed.
# Usage: tst_package.sh <build folder> <source folder>
set -eu
build="$1"
source="$2"
for tool in dpkg-buildpackage dh; do
    command -v "$tool" >/dev/null 2>&1 || {
        echo "SKIP: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
need() { command -v "$1" >/dev/null 2>&1 || fail "$1 is not installed (scripts/setup.sh installs it)"; }

deb="$("$source/scripts/make-deb.sh" "$build" "$work/out")" || fail "no package was made"
[ -f "$deb" ] || fail "make-deb.sh printed \"$deb\", which is no file"
root="$work/root"
dpkg-deb -x "$deb" "$root"

id=org.zavik.zavik
for f in "usr/lib/zavik/[Zavik]/TURX/turx" "usr/lib/zavik/[Zavik]/ZavikHELP/index.html" \
    "usr/lib/zavik/[Zavik]/sample-wall/wall.ini" "usr/share/applications/$id.desktop" \
    "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/256x256/apps/$id.png" \
    "usr/share/metainfo/$id.metainfo.xml" usr/share/man/man1/zavik.1.gz \
    usr/share/zavik/screenshots/sample-wall.png usr/share/doc/zavik/copyright; do
    [ -s "$root/$f" ] || fail "the package holds no $f"
done
diff -r "$source/resources/sample-wall" "$root/usr/lib/zavik/[Zavik]/sample-wall" >/dev/null ||
    fail "the packaged sample wall differs from resources/sample-wall"

# The program and the link on the PATH answer without a display; the link is
# relative, so it leads to the unpacked program.
version="$(sed -n 's/^project(Zavik VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")"
for program in usr/lib/zavik/zavik usr/bin/zavik; do
    answer="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/$program" --version)" ||
        fail "$program --version failed"
    [ "$answer" = "Zavik $version" ] || fail "$program --version printed: $answer"
done

need lintian
need appstreamcli
need desktop-file-validate
lintian --fail-on error "$deb" || fail "lintian found errors in $deb"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "the desktop entry does not validate"
grep -qx 'Exec=zavik' "$root/usr/share/applications/$id.desktop" || fail "the desktop entry does not start zavik"
appstreamcli validate-tree --no-net "$root" || fail "the metainfo does not validate"

# The portable install gets none of the package's folders.
cmake --install "$build" --prefix "$work/portable" >/dev/null
for f in bin lib share; do
    [ ! -e "$work/portable/$f" ] || fail "the portable install made $f/"
done
echo "PASS"
