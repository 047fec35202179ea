#!/usr/bin/env bash
# Sets the machine up when needed, builds Zavik (Release), installs it as a
# portable folder and starts it there. A new portable folder gets the sample
# wall as its data folder; an existing data folder is never touched.
# Usage: scripts/run.sh [--desktop-entry] [install-folder]
#   (default folder: $ZAVIK_HOME or ~/Zavik; --desktop-entry also puts Zavik
#   into the desktop's application menu instead of starting it)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
entry=0
if [ "${1:-}" = "--desktop-entry" ]; then
    entry=1
    shift
fi
prefix="${1:-${ZAVIK_HOME:-$HOME/Zavik}}"
build="$here/build-release"

ZAVIK_TEST_TOOLS=0 "$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZAVIK_TESTS=OFF
cmake --build "$build" --parallel 2
cmake --install "$build" --prefix "$prefix"
if [ "$entry" = 1 ]; then
    exec "$here/scripts/desktop-entry.sh" "$prefix"
fi
exec "$prefix/zavik"
