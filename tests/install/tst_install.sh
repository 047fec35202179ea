#!/bin/sh
# The portable folder as `cmake --install` makes it: the sample wall arrives
# only in a folder without a data folder, a second install changes nothing
# in it, the desktop entry is valid (where desktop-file-validate is
# installed) with the folder's absolute paths, also for a folder whose path
# holds a space, and the program answers --version and --help without a
# display.
# Usage: tst_install.sh <build folder> <source folder>
set -eu
build="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

install_into() { cmake --install "$build" --prefix "$1" >/dev/null; }
# Every file of a folder with its size, time and checksum, in a fixed order.
snapshot() { (cd "$1" && find . -printf '%p %s %T@\n' | sort && find . -type f -exec md5sum {} + | sort); }
validate() {
    grep -q '^Exec=' "$1" || fail "$1 has no Exec line"
    if command -v desktop-file-validate >/dev/null 2>&1; then
        desktop-file-validate "$1" || fail "$1 does not validate"
    fi
}

# A new portable folder gets the sample wall, and its resources keep a copy.
fresh="$work/fresh"
install_into "$fresh"
[ -f "$fresh/zavik-data/wall.ini" ] || fail "no sample wall in a new portable folder"
diff -r "$source/resources/sample-wall" "$fresh/zavik-data" >/dev/null ||
    fail "the sample wall differs from resources/sample-wall"
[ -d "$fresh/[Zavik]/sample-wall" ] || fail "no copy of the sample among the resources"
[ ! -e "$fresh/.zavik-data.partial" ] || fail "a partial copy was left behind"

# A second install changes nothing in the data folder, not even times, nor
# a file the user added.
touch "$fresh/zavik-data/mine.txt"
before="$(snapshot "$fresh/zavik-data")"
install_into "$fresh"
[ "$before" = "$(snapshot "$fresh/zavik-data")" ] || fail "a second install changed the data folder"

# An existing data folder, even an empty one, is never written.
kept="$work/kept"
mkdir -p "$kept/zavik-data"
install_into "$kept"
[ -z "$(ls -A "$kept/zavik-data")" ] || fail "the install wrote into an empty data folder"

# The desktop entry and the icon, with the folder's absolute paths.
for f in zavik.desktop zavik.png zavik.svg; do
    [ -s "$fresh/$f" ] || fail "no $f in the portable folder"
done
validate "$fresh/zavik.desktop"
grep -qx "Exec=\"$fresh/zavik\"" "$fresh/zavik.desktop" || fail "Exec does not name $fresh/zavik"
grep -qx "Icon=$fresh/zavik.png" "$fresh/zavik.desktop" || fail "Icon does not name the icon"

# The menu entry for the user, for a folder whose path holds a space.
spaced="$work/with space"
install_into "$spaced"
XDG_DATA_HOME="$work/share" "$source/scripts/desktop-entry.sh" "$spaced" >/dev/null
entry="$work/share/applications/zavik.desktop"
validate "$entry"
grep -qx "Exec=\"$spaced/zavik\"" "$entry" || fail "the menu entry does not name $spaced/zavik"

# --version and --help need no display and open no window.
version="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$fresh/zavik" --version)"
echo "$version" | grep -q '^Zavik [0-9]' || fail "--version printed: $version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$fresh/zavik" --help | grep -q -- '--version' ||
    fail "--help does not list --version"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$fresh/zavik" --help | grep -q -- "--data" ||
    fail "--help does not list --data"
echo "PASS"
