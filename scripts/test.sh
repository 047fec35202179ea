#!/usr/bin/env bash
# Sets the machine up when needed, builds Zavik with every test, and runs
# them all with ctest. Usage: scripts/test.sh [build-folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-test}"

"$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAVIK_TESTS=ON
cmake --build "$build" --parallel 2
cd "$build"
ctest --output-on-failure --timeout 600
