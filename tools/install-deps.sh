#!/bin/sh
# Installs what the game needs to build, run and test, where it knows how.
#
# Debian and Ubuntu (apt): installs the missing packages as root, or prints the one
# apt-get command to run as root and stops.
# Fedora (dnf), openSUSE (zypper), Arch (pacman), macOS (Homebrew): prints the one
# command that installs Qt 6, CMake, Ninja, a C++ compiler and the Liberation fonts
# there, and stops, unless those packages are all installed already.
# Any other system, or QUORVEL_SKIP_DEPS=1: nothing to do here; CMake then says
# what it cannot find.
set -eu

if [ "${QUORVEL_SKIP_DEPS:-0}" = 1 ]; then
    echo "QUORVEL_SKIP_DEPS=1: not checking packages, going straight to CMake."
    exit 0
fi

have() { command -v "$1" >/dev/null 2>&1; }

# --- Debian and Ubuntu ---------------------------------------------------------
apt_deps() {
    # Build, run (qt6-wayland for Wayland sessions), and the tests: X and Wayland
    # servers, X tools, the package checks (python3-pil for the program icons'
    # maker), the accessibility bus.
    packages="cmake ninja-build g++ make qt6-base-dev libgl-dev qt6-wayland \
xvfb xauth xdotool x11-utils imagemagick weston \
dpkg-dev file python3 python3-pil desktop-file-utils appstream lintian \
python3-xlib python3-pyatspi at-spi2-core dbus"

    installed() {
        [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
    }

    missing=""
    for p in $packages; do
        installed "$p" || missing="$missing $p"
    done

    # Liberation 2 is fonts-liberation2 on Debian 12 and fonts-liberation on Debian 13
    # (where fonts-liberation2 only points to it).
    fonts_ok=no
    if installed fonts-liberation2; then
        fonts_ok=yes
    elif installed fonts-liberation &&
        dpkg --compare-versions "$(dpkg-query -W -f='${Version}' fonts-liberation)" ge 1:2.1; then
        fonts_ok=yes
    fi
    fonts_package() {
        candidate=$(apt-cache policy fonts-liberation 2>/dev/null | sed -n 's/^ *Candidate: //p')
        if [ -n "$candidate" ] && [ "$candidate" != "(none)" ] &&
            dpkg --compare-versions "$candidate" ge 1:2.1; then
            echo fonts-liberation
        else
            echo fonts-liberation2
        fi
    }

    [ -z "$missing" ] && [ "$fonts_ok" = yes ] && return 0

    if [ "$(id -u)" -ne 0 ]; then
        [ "$fonts_ok" = yes ] || missing="$missing $(fonts_package)"
        echo "Missing packages. Run this as root, then try again:"
        echo "  apt-get update && apt-get install -y$missing"
        return 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    # Which package holds Liberation 2 is known once the package lists are read.
    [ "$fonts_ok" = yes ] || missing="$missing $(fonts_package)"
    echo "Installing:$missing"
    apt-get install -y -q --no-install-recommends$missing
}

# --- Systems whose packages this script only names ------------------------------------
# $1: the command that lists what is missing, $2: the install command, then the packages.
other_system() {
    query=$1
    install=$2
    shift 2
    missing=""
    for p in "$@"; do
        $query "$p" >/dev/null 2>&1 || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "This script installs packages only with apt. Install what the game needs with:"
    echo "  $install$missing"
    echo "then run make again (or set QUORVEL_SKIP_DEPS=1 to go straight to CMake)."
    return 1
}

if have dpkg-query && have apt-get; then
    apt_deps
elif have dnf; then
    other_system "rpm -q --whatprovides" "sudo dnf install" \
        qt6-qtbase-devel cmake ninja-build gcc-c++ make liberation-sans-fonts
elif have zypper; then
    other_system "rpm -q --whatprovides" "sudo zypper install" \
        qt6-base-devel cmake ninja gcc-c++ make liberation-fonts
elif have pacman; then
    other_system "pacman -Q" "sudo pacman -S --needed" \
        qt6-base cmake ninja gcc make ttf-liberation
elif have brew; then
    # The C++ compiler comes with Xcode's command line tools, which Homebrew needs too.
    other_system "brew list" "brew install" qt cmake ninja font-liberation
else
    echo "No known package manager: not installing anything, going straight to CMake."
fi
