#!/bin/bash
# Guards the Debian package: every file it promises is in it, it depends on the
# fonts and on Qt Widgets and recommends Qt's Wayland plugin, the program is linked
# with full RELRO, the release dates agree, lintian, desktop-file-validate and
# appstreamcli find nothing wrong, and the game unpacked from it opens its window
# on a real X server; no program it ships or the build writes searches a library path
# it does not need.
#
# Usage: check_deb.sh BUILD_DIR APP_ID
set -euo pipefail
# shellcheck source=tally.sh
source "$(dirname "${BASH_SOURCE[0]}")/tally.sh"

build_dir=$1
app_id=$2
caption="Brinhalt's Quorvel"
window_timeout=20

scratch package
xvfb_pid=""
game_pid=""

stop() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

cleanup() {
    stop "$game_pid"
    stop "$xvfb_pid"
    rm -rf "$work"
}
trap cleanup EXIT
# ctest ends an overdue test with SIGTERM: leave no X server behind then either.
trap 'exit 143' TERM
trap 'exit 130' INT
trap 'exit 129' HUP

give_up() {
    echo "FAIL $*"
    exit 1
}

# --- Build the package from the already-built tree -------------------------
if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    give_up "cpack could not build the package"
fi
shopt -s nullglob
debs=("$work"/out/quorvel_*_"$(dpkg --print-architecture)".deb)
shopt -u nullglob
[ "${#debs[@]}" -eq 1 ] || give_up "expected one quorvel_<version>_<arch>.deb, found ${#debs[@]}"
deb=${debs[0]}
echo "built $(basename "$deb")"

root="$work/root"
dpkg -x "$deb" "$root"

# --- Files ------------------------------------------------------------------
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
game="$root/usr/games/quorvel"

check "program in /usr/games, executable" test -x "$game"
check "desktop entry" test -f "$desktop"
check "metainfo" test -f "$metainfo"
check "copyright" test -f "$root/usr/share/doc/quorvel/copyright"
check "changelog" gzip -t "$root/usr/share/doc/quorvel/changelog.gz"
check "manual page" gzip -t "$root/usr/share/man/man6/quorvel.6.gz"

icon_name=$(sed -n 's/^Icon=//p' "$desktop" 2>/dev/null || true)
check "desktop entry names an icon" test -n "$icon_name"
for size in 16 32 48 64 128 256; do
    icon="$root/usr/share/icons/hicolor/${size}x$size/apps/$icon_name.png"
    check "${size} px icon is a ${size}x$size PNG with alpha" \
        grep -q "PNG image data, $size x $size, 8-bit/color RGBA" \
        <(file -b "$icon" 2>&1)
done

# The code and the pictures are GPL-3.0-or-later; only the metainfo is CC0-1.0.
copyright="$root/usr/share/doc/quorvel/copyright"
check "copyright: the game under GPL-3+" \
    grep -Pzq '\nFiles: \*\nCopyright: [^\n]*\nLicense: GPL-3\+\n' "$copyright"
check "metainfo: project_license GPL-3.0-or-later" \
    grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo"

# One release date in the metainfo, the changelog and the manual page.
release_date=$(sed -n 's/.*<release [^>]*date="\([0-9-]*\)".*/\1/p' "$metainfo" | head -n1)
changelog_date=$(date -u -d "$(zcat "$root/usr/share/doc/quorvel/changelog.gz" \
                   | sed -n 's/^ -- .*>  //p' | head -n1)" +%F 2>/dev/null || true)
man_date=$(zcat "$root/usr/share/man/man6/quorvel.6.gz" | awk '$1 == ".TH" { print $4; exit }')
check "release date $release_date in metainfo, changelog ($changelog_date), manual ($man_date)" \
    test -n "$release_date" -a "$release_date" = "$changelog_date" -a "$release_date" = "$man_date"

# Full RELRO: relocations read-only and every symbol bound at start (lintian's
# hardening-no-bindnow otherwise).
check "program linked with -z relro" grep -q GNU_RELRO <(readelf -lW "$game")
check "program linked with -z now" grep -Eq 'BIND_NOW|FLAGS_1.*NOW' <(readelf -dW "$game")

# The programs have no libraries of their own, so a RUNPATH or RPATH entry that is empty
# (the current folder) or under $ORIGIN only makes the loader look where nothing is, or
# load whatever was put there. Checked in the package and across the build tree.
searches_only_what_it_needs() {
    local line
    line=$(readelf -dW "$1" | grep -E '\((RUNPATH|RPATH)\)') || return 0
    local paths
    paths=$(sed 's/.*\[\(.*\)\]$/\1/' <<<"$line" | tr ':' '\n')
    ! grep -Eq '^$|ORIGIN' <<<"$paths"
}
check "program searches no empty or \$ORIGIN library path" searches_only_what_it_needs "$game"
built=0
while IFS= read -r -d '' file; do
    readelf -h "$file" >/dev/null 2>&1 || continue
    built=$((built + 1))
    searches_only_what_it_needs "$file" || fail "${file#"$build_dir"/} searches an empty or \$ORIGIN library path"
done < <(find "$build_dir" -path '*/CMakeFiles' -prune -o -type f -perm -u+x -print0)
check "build tree: $built programs checked for their library paths" test "$built" -gt 0

# --- Control fields ---------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
check "package name" test "$(field Package)" = quorvel
check "section games" test "$(field Section)" = games
# Debian 12 has Liberation 2 as fonts-liberation2, Debian 13 as fonts-liberation.
check "depends on fonts-liberation (>= 1:2.1) | fonts-liberation2" \
    grep -Eq '(^|, )fonts-liberation \(>= 1:2\.1\) \| fonts-liberation2(,|$)' <<<"$depends"
check "depends on Qt Widgets" grep -Eq '(^|, )libqt6widgets6(t64)?( |,|$)' <<<"$depends"
check "recommends qt6-wayland" grep -Eq '(^|, )qt6-wayland(,|$| )' <<<"$(field Recommends)"

lintian_rc=0
lintian_log=$(lintian --fail-on error,warning "$deb" 2>&1) || lintian_rc=$?
check "lintian finds no errors or warnings" test "$lintian_rc" -eq 0
[ "$lintian_rc" -eq 0 ] || echo "$lintian_log"

# --- Menu entry and metainfo ------------------------------------------------
desktop_log=$(desktop-file-validate "$desktop" 2>&1 || true)
check "desktop-file-validate has nothing to say" test -z "$desktop_log"
[ -z "$desktop_log" ] || echo "$desktop_log"
check "desktop entry starts quorvel" grep -qx 'Exec=quorvel' "$desktop"
# Errors and warnings fail; infos and pedantic notes do not, as they differ between
# AppStream releases (0.16 does not know <developer>, 1.0 wants it).
appstream_rc=0
appstream_log=$(appstreamcli validate-tree --no-net --pedantic "$root" 2>&1) || appstream_rc=$?
check "appstreamcli validates metainfo, menu entry and icons" test "$appstream_rc" -eq 0
check "appstreamcli reports no errors or warnings" \
    test -z "$(grep -E '^[[:space:]]*[EW]: ' <<<"$appstream_log")"
[ "$appstream_rc" -eq 0 ] && [ "$(wc -l <<<"$appstream_log")" -le 1 ] || echo "$appstream_log"

# --- The unpacked game opens its window ---------------------------------------
# A private X server. Its cookie keeps other programs on this machine out (one
# that connected and left would otherwise make the server reset under us).
export XAUTHORITY="$work/Xauthority"
cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
xauth -f "$work/server.auth" add :0 MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null

# Starts Xvfb and waits until it answers on the display it names.
start_x() {
    local deadline
    : >"$work/display"
    Xvfb -displayfd 3 -auth "$work/server.auth" -noreset -nolisten tcp \
        -screen 0 1024x768x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    deadline=$((SECONDS + window_timeout))
    # The number and its newline come in two writes.
    until [ "$(wc -l <"$work/display")" -ge 1 ]; do
        kill -0 "$xvfb_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
    display=":$(head -n1 "$work/display")"
    xauth add "$display" MIT-MAGIC-COOKIE-1 "$cookie" 2>/dev/null
    until DISPLAY=$display xwininfo -root >/dev/null 2>&1; do
        kill -0 "$xvfb_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

display=""
for attempt in 1 2 3; do
    start_x && break
    echo "Xvfb attempt $attempt failed:"; cat "$work/xvfb.log"
    stop "$xvfb_pid"
    xvfb_pid=""
done
[ -n "$xvfb_pid" ] || give_up "no X server to start the game on"

mkdir -m 700 "$work/runtime"
DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" \
    "$game" >"$work/game.log" 2>&1 &
game_pid=$!

window=""
deadline=$((SECONDS + window_timeout))
while [ "$SECONDS" -lt "$deadline" ]; do
    window=$(DISPLAY=$display xdotool search --onlyvisible --name "^$caption\$" 2>/dev/null \
             | head -n1 || true)
    [ -n "$window" ] && break
    if ! kill -0 "$game_pid" 2>/dev/null; then
        cat "$work/game.log"
        give_up "the game ended before its window appeared"
    fi
    sleep 0.1
done
check "window \"$caption\" appears within $window_timeout s" test -n "$window"
if [ -n "$window" ]; then
    wm_class=$(DISPLAY=$display xprop -id "$window" WM_CLASS 2>&1 || true)
    startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
    check "window class matches the menu entry's StartupWMClass" \
        grep -q ", \"$startup_class\"\$" <<<"$wm_class"
fi
check "game still running" kill -0 "$game_pid"

if [ "$failures" -ne 0 ]; then
    echo "--- game output"; cat "$work/game.log"
fi
passed package
