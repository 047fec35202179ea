#!/usr/bin/env bash
# Sets the machine up when needed, builds Zavik with every test (warnings
# are errors), and runs them all with ctest, the layout check and the Debian
# package made from this build among them;
# then, where clang is installed, the same tests built under
# AddressSanitizer and UndefinedBehaviorSanitizer.
# Usage: scripts/test.sh [build-folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-test}"

"$here/scripts/setup.sh"
# Warnings in Zavik's own code are errors here (not in a user's build).
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAVIK_TESTS=ON \
    -DZAVIK_WERROR=ON
cmake --build "$build" --parallel 2
(cd "$build" && ctest --output-on-failure --timeout 600)

# Memory faults and undefined behaviour (an overflow, say) stop this run.
# The tests of what shows on a real X server or a Wayland compositor are left
# out: they add nothing here, and the X and Wayland libraries keep memory the
# leak checker would report. So is the package's: a package of a sanitized
# build is no package to ship.
if command -v clang++ >/dev/null 2>&1; then
    sanitized="$build-sanitized"
    CC=clang CXX=clang++ cmake -S "$here" -B "$sanitized" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAVIK_TESTS=ON -DZAVIK_EXTRAS=OFF -DZAVIK_WERROR=ON \
        -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
    cmake --build "$sanitized" --parallel 2
    (cd "$sanitized" &&
        LSAN_OPTIONS="suppressions=$here/tests/sanitizers/lsan.supp:print_suppressions=0" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        ctest --output-on-failure --timeout 600 -E 'tst_screens|tst_onscreen|tst_package|tst_portalcapture')
fi
