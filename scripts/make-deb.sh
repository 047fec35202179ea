#!/usr/bin/env bash
# Makes Zavik's Debian package from a build folder that is already compiled
# (nothing is compiled again) and puts it into an output folder; prints the
# package's path.
# Usage: scripts/make-deb.sh <build-folder> <output-folder>
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
if [ $# -ne 2 ] || [ ! -f "$1/cmake_install.cmake" ]; then
    echo "Usage: $0 <compiled build folder> <output folder>" >&2
    exit 2
fi
build="$(cd "$1" && pwd)"
mkdir -p "$2"
output="$(cd "$2" && pwd)"

# dpkg-buildpackage writes its results beside the source folder: a source
# folder of its own in a temporary folder keeps them out of the repository.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/zavik"
cp -a "$here/debian" "$work/zavik/"
(cd "$work/zavik" && ZAVIK_BUILD_DIR="$build" dpkg-buildpackage -b -us -uc >"$work/log" 2>&1) || {
    cat "$work/log" >&2
    exit 1
}
for deb in "$work"/zavik_*.deb; do
    mv "$deb" "$output/"
    echo "$output/$(basename "$deb")"
done
