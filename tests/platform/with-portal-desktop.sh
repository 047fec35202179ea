#!/bin/sh
# Runs a test on a Wayland desktop of its own, where the screen can be seen
# only through the desktop portal: a headless sway with one 640 x 480 output
# of a known colour, a private session bus, xdg-desktop-portal and its
# wlroots backend (which photographs with grim). Everything started here is
# stopped when the test ends, however it ends. Without these programs the
# test is skipped (exit 77), saying which one is missing.
set -u

skip() {
    echo "SKIP: $*"
    exit 77
}
for tool in sway swaybg swaymsg grim pipewire dbus-daemon dbus-send setpriv; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
for program in xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk; do
    [ -x "/usr/libexec/$program" ] || skip "$program is not installed"
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    skip "Qt's Wayland platform (qt6-wayland) is not installed"

# The wlroots backend always writes its picture to this file; one that
# another user left there cannot be overwritten.
shot=/tmp/out.png
shot_was_there=""
if [ -e "$shot" ]; then
    [ "$(stat -c %u "$shot")" = "$(id -u)" ] || skip "$shot belongs to another user"
    shot_was_there=1
fi

base=$(mktemp -d)
chmod 755 "$base"
pids=""
cleanup() {
    for pid in $pids; do
        kill "$pid" 2>/dev/null
    done
    for pid in $pids; do
        wait "$pid" 2>/dev/null
    done
    rm -rf "$base"
    [ -z "$shot_was_there" ] && rm -f "$shot"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

# Waits up to a minute (a busy machine is slow) for a condition on a program
# just started; fails with its log if it dies or never gets there.
await() {
    what=$1 pid=$2 log=$3
    shift 3
    tries=0
    until "$@"; do
        if ! kill -0 "$pid" 2>/dev/null || [ "$tries" -ge 600 ]; then
            echo "FAIL: $what did not start"
            cat "$log"
            exit 1
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
}

# sway refuses to run as root: there it runs as nobody, in a folder of its own.
swayrun="$base/sway"
mkdir -m 700 "$swayrun"
cat >"$swayrun/config" <<'EOF'
xwayland disable
output HEADLESS-1 resolution 640x480 position 0 0 bg #204080 solid_color
default_border none
default_floating_border none
for_window [app_id="zavik-colour"] floating enable, resize set 200 100, move position 100 50
EOF
as_sway=""
if [ "$(id -u)" = 0 ]; then
    chown -R 65534:65534 "$swayrun"
    as_sway="setpriv --reuid=65534 --regid=65534 --clear-groups"
fi
env -u WAYLAND_DISPLAY -u DISPLAY HOME="$swayrun" XDG_RUNTIME_DIR="$swayrun" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    $as_sway sway -c "$swayrun/config" >"$base/sway.log" 2>&1 &
sway=$!
pids="$sway"
socket() {
    for s in "$swayrun"/wayland-*; do
        [ -S "$s" ] && WAYLAND_DISPLAY=$s && return 0
    done
    return 1
}
await sway "$sway" "$base/sway.log" socket
ipc() {
    for s in "$swayrun"/sway-ipc.*.sock; do
        [ -S "$s" ] && SWAYSOCK=$s && return 0
    done
    return 1
}
await "sway's IPC" "$sway" "$base/sway.log" ipc

run="$base/run"
mkdir -m 700 "$run"
cat >"$base/bus.conf" <<EOF
<busconfig>
  <type>session</type>
  <listen>unix:path=$base/bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF
export WAYLAND_DISPLAY SWAYSOCK XDG_RUNTIME_DIR="$run" XDG_CURRENT_DESKTOP=sway \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$base/bus" HOME="$base" XDG_CONFIG_HOME="$base/config" \
    XDG_DATA_HOME="$base/data" NO_AT_BRIDGE=1 GTK_A11Y=none GDK_BACKEND=wayland
unset DISPLAY

start() {
    name=$1
    shift
    "$@" >"$base/$name.log" 2>&1 &
    pids="$! $pids"
}
owned() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q true
}
start bus dbus-daemon --config-file="$base/bus.conf" --nofork
await dbus-daemon "${pids%% *}" "$base/bus.log" test -S "$base/bus"
# The wlroots backend needs PipeWire for screen casts, or it does not start.
start pipewire pipewire
await pipewire "${pids%% *}" "$base/pipewire.log" test -S "$run/pipewire-0"
# The portal offers screenshots only once its backends are on the bus.
start wlr /usr/libexec/xdg-desktop-portal-wlr
await xdg-desktop-portal-wlr "${pids%% *}" "$base/wlr.log" \
    owned org.freedesktop.impl.portal.desktop.wlr
start gtk /usr/libexec/xdg-desktop-portal-gtk
await xdg-desktop-portal-gtk "${pids%% *}" "$base/gtk.log" \
    owned org.freedesktop.impl.portal.desktop.gtk
start portal /usr/libexec/xdg-desktop-portal
await xdg-desktop-portal "${pids%% *}" "$base/portal.log" owned org.freedesktop.portal.Desktop

QT_QPA_PLATFORM=wayland QT_WAYLAND_DISABLE_WINDOWDECORATION=1 ZAVIK_PORTAL_DESKTOP=640x480 "$@"
status=$?
if [ "$status" != 0 ]; then
    for log in "$base"/*.log; do
        echo "--- $log"
        tail -n 20 "$log"
    done
fi
exit "$status"
