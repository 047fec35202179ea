#!/bin/sh
# Runs a test on the X server xvfb-run gave it, with openbox managing the
# windows as on a teacher's desktop when it is installed.
wm=""
if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    sleep 1
fi
"$@"
status=$?
[ -n "$wm" ] && kill "$wm" 2>/dev/null
exit $status
