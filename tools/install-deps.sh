#!/bin/sh
# Installs the Debian packages the game needs to build, run and test.
# As root it runs apt-get; as anyone else it prints the one command to run.
set -eu
packages="cmake ninja-build g++ make qt6-base-dev libgl-dev fonts-liberation2 \
xvfb xauth xdotool x11-utils imagemagick \
dpkg-dev file python3 desktop-file-utils appstream lintian \
python3-xlib python3-pyatspi at-spi2-core dbus"

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run this as root, then try again:"
    echo "  apt-get update && apt-get install -y$missing"
    exit 1
fi
echo "Installing:$missing"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends$missing
