#!/bin/sh
# Runs a test on the X server xvfb-run gave it, with openbox managing the
# windows as on a teacher's desktop when it is installed.
wm=""
if command -v openbox >/dev/null 2>&1; then
    ready=$(mktemp -d)
    openbox --sm-disable --startup "touch $ready/managing" >/dev/null 2>&1 &
    wm=$!
    # The test starts once openbox manages the screen, however long a busy
    # machine takes to get it there (a minute at most), or without it when
    # openbox gives up.
    tries=0
    while [ ! -e "$ready/managing" ] && kill -0 "$wm" 2>/dev/null && [ "$tries" -lt 600 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
    rm -rf "$ready"
fi
"$@"
status=$?
[ -n "$wm" ] && kill "$wm" 2>/dev/null
exit $status
