#!/usr/bin/env bash
# Sets the machine up when needed, builds Zavik (Release, with Debian's
# hardening flags) in a build folder of its own and makes its Debian package
# in the output folder; prints the package's path.
# Usage: scripts/package.sh [output-folder]   (default: ./zavik-package)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
output="${1:-$PWD/zavik-package}"
build="$here/build-package"

ZAVIK_TEST_TOOLS=0 ZAVIK_PACKAGE_TOOLS=1 "$here/scripts/setup.sh"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZAVIK_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build" --parallel 2
"$here/scripts/make-deb.sh" "$build" "$output"
