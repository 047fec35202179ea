#!/usr/bin/env bash
# Puts Zavik into the desktop's application menu: writes the desktop entry of
# an installed portable folder, with its absolute paths, into
# ~/.local/share/applications/ (or $XDG_DATA_HOME/applications/).
# Usage: scripts/desktop-entry.sh [portable-folder]   (default: $ZAVIK_HOME or ~/Zavik)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
folder="${1:-${ZAVIK_HOME:-$HOME/Zavik}}"
if [ ! -x "$folder/zavik" ]; then
    echo "No Zavik in \"$folder\": run scripts/run.sh first." >&2
    exit 1
fi
folder="$(cd "$folder" && pwd)"
applications="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$applications"
cmake -DFOLDER="$folder" -DOUTPUT="$applications/zavik.desktop" -P "$here/cmake/DesktopEntry.cmake"
if command -v update-desktop-database >/dev/null 2>&1; then
    update-desktop-database "$applications" || true
fi
echo "Desktop entry: $applications/zavik.desktop"
