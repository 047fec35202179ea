#!/usr/bin/env bash
# Installs the Debian packages Zavik needs to build, test and run, only when
# some are missing. Safe to run again and again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build clang-format qt6-base-dev
    qt6-webengine-dev qt6-multimedia-dev gstreamer1.0-plugins-base
    gstreamer1.0-plugins-good libjpeg-dev libpng-dev zlib1g-dev qt6-svg-dev
    fonts-ipafont-gothic fonts-dejavu-core qt6-translations-l10n xvfb xauth
)
# What only the tests need: clang and its fuzzing runtime for the record
# reader's fuzzer, a small window manager for the tests that need one, the
# desktop entry checker, and libvips, a yardstick for the resampler's
# benchmark (never linked into the program); and the package tools with the
# package's checkers, since the tests make the Debian package too.
if [ "${ZAVIK_TEST_TOOLS:-1}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev openbox desktop-file-utils libvips-dev pkg-config
        lintian appstream)
    ZAVIK_PACKAGE_TOOLS=1
fi
# What making the Debian package needs.
if [ "${ZAVIK_PACKAGE_TOOLS:-0}" = 1 ]; then
    packages+=(dpkg-dev debhelper fakeroot)
fi
# Screen capture through the desktop portal is tried on a headless Wayland
# compositor, with the portal, its wlroots backend (and the GTK one, without
# which the portal offers no screenshots) on a private session bus.
if [ "${ZAVIK_TEST_TOOLS:-1}" = 1 ]; then
    packages+=(sway swaybg grim xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
        pipewire qt6-wayland dbus-daemon dbus-bin)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
