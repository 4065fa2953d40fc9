#!/bin/bash
# Builds the browser build of the game (the CMake preset `web`) with Qt 6.8 for
# WebAssembly and Debian 13's emscripten: natively on Debian 13, and on Debian 12, as
# root, inside a Debian 13 system that this script makes itself and keeps.
#
#   tools/web.sh [TARGET...]   build the page (build/web), or the CMake targets named
#   tools/web.sh --browsers    install the browsers that test-web and bench-web drive
#
# The Debian 13 system lives in ~/.cache/quorvel/trixie-web (QUORVEL_WEB_ROOT), with
# Qt for WebAssembly built in it; this tree is mounted into it at the same path, so
# that build/wasm and build/web are this tree's. The first build takes about 20 minutes
# on two idle cores (the system about 3, Qt about 10, the game 3), later ones a minute
# or two. Remove the folder to start again from nothing.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=qt-source.sh
source "$here/tools/qt-source.sh"
# shellcheck source=chroot.sh
source "$here/tools/chroot.sh"

# Chromium (driven by Selenium), Firefox (through its own Marionette port) and
# WebKitGTK's MiniBrowser (through WebKitWebDriver); Xvfb and python3-xlib for the
# two that need a screen; ImageMagick reads their screenshots.
browsers=(chromium chromium-driver python3-selenium firefox-esr webkit2gtk-driver
          xvfb xauth python3-xlib imagemagick)

say() { echo "web: $*"; }

if [ "${1:-}" = --browsers ]; then
    install_packages "${browsers[@]}"
    exit 0
fi
targets=("$@")

build_here() {
    bash "$here/tools/build-qt-wasm.sh"
    QUORVEL_QT_WASM=$(bash "$here/tools/build-qt-wasm.sh" --prefix)
    EMSDK=$(bash "$here/tools/build-qt-wasm.sh" --emsdk)
    export QUORVEL_QT_WASM EMSDK NODE_PATH=/usr/share/nodejs
    cd "$here"
    # A build folder configured against another Qt (the Qt 6.4 page of earlier
    # versions, or a Qt rebuilt since) starts afresh.
    if [ -f build/wasm/CMakeCache.txt ] &&
        ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$QUORVEL_QT_WASM/lib/cmake/Qt6/qt.toolchain.cmake" \
            build/wasm/CMakeCache.txt; then
        rm -rf build/wasm
    fi
    [ -f build/wasm/CMakeCache.txt ] || cmake --preset web
    local t=()
    [ ${#targets[@]} -eq 0 ] || t=(--target "${targets[@]}")
    cmake --build --preset web -j "${JOBS:-$(nproc)}" "${t[@]}"
}

. /etc/os-release
if [ "${ID:-}" != debian ] || [ "${VERSION_ID:-13}" -ge 13 ]; then
    build_here
    exit 0
fi
if [ "${VERSION_ID}" -ne 12 ]; then
    echo "The page builds on Debian 13, or on Debian 12 as root (this is Debian $VERSION_ID)." >&2
    exit 1
fi

# --- Debian 12: in a Debian 13 system of our own ------------------------------------
chroot_need_root "On Debian 12 the page is built in a Debian 13 system that needs root to make: sudo make web"

root=${QUORVEL_WEB_ROOT:-$HOME/.cache/quorvel/trixie-web}
log=$root.log
stamp=$root/.quorvel-made-from
# What the system is made of; the packages the build needs are added by the build.
made_from="debootstrap --variant=minbase trixie, with make"

cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    chroot_unmount || rc=1
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

chroot_unmount
if [ "$(cat "$stamp" 2>/dev/null)" != "$made_from" ]; then
    [ ! -d "$root" ] || say "the Debian 13 system in $root is incomplete or of another recipe: making it again"
    rm -rf --one-file-system "$root"
    # Only a whole system is kept: one that failed half-way goes, and the next run
    # starts again from nothing.
    if ! chroot_debootstrap trixie make "$log"; then
        rm -rf --one-file-system "$root"
        echo "web: could not make the Debian 13 system (Debian's archive unreachable?); nothing kept" >&2
        exit 1
    fi
    chroot "$root" apt-get clean
    echo "$made_from" >"$stamp"
fi

chroot_mount
mkdir -p "$root$here"
mount --bind "$here" "$root$here"
quoted=$(printf ' %q' "${targets[@]}")
if ! chroot_run "bash $(printf %q "$here/tools/web.sh")${targets[*]:+$quoted}" \
        JOBS="${JOBS:-$(nproc)}" ${QUORVEL_MIRROR:+QUORVEL_MIRROR="$QUORVEL_MIRROR"} \
        ${SOURCE_DATE_EPOCH:+SOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH"}; then
    echo "web: the build in the Debian 13 system in $root failed (above: what failed)" >&2
    exit 1
fi
