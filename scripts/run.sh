#!/usr/bin/env bash
# Sets the machine up when needed, builds Zavik (Release), installs it as a
# portable folder and starts it there.
# Usage: scripts/run.sh [install-folder]   (default: $ZAVIK_HOME or ~/Zavik)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
prefix="${1:-${ZAVIK_HOME:-$HOME/Zavik}}"
build="$here/build-release"

ZAVIK_TEST_TOOLS=0 "$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZAVIK_TESTS=OFF
cmake --build "$build" --parallel 2
cmake --install "$build" --prefix "$prefix"
exec "$prefix/zavik"
