#!/bin/bash
# Guards the set-up on systems without apt: with dnf, zypper, pacman or brew it names
# that system's packages in one install command and stops (or goes on when they are
# installed); with no package manager it goes on; QUORVEL_SKIP_DEPS=1 always goes on.
# Then, on this machine with dpkg and apt taken out of PATH, the set-up goes on and
# CMake configures the game.
#
# Usage: check_install_deps.sh SOURCE_DIR
set -euo pipefail
# shellcheck source=tally.sh
source "$(dirname "${BASH_SOURCE[0]}")/tally.sh"

source_dir=$1
script="$source_dir/tools/install-deps.sh"
scratch deps

# A PATH holding only stand-ins: each named program exits with the given status.
stub_path() {
    local dir="$work/stubs-$1" spec
    shift
    mkdir -p "$dir"
    for spec in "$@"; do
        printf '#!/bin/sh\nexit %s\n' "${spec#*=}" >"$dir/${spec%%=*}"
        chmod +x "$dir/${spec%%=*}"
    done
    echo "$dir"
}

# name | stand-ins (program=exit status) | QUORVEL_SKIP_DEPS | expected status | expected line
cases=(
    "fedora, nothing installed|dnf=0 rpm=1|0|1|  sudo dnf install qt6-qtbase-devel cmake ninja-build gcc-c++ make liberation-sans-fonts"
    "fedora, all installed|dnf=0 rpm=0|0|0|"
    "opensuse, nothing installed|zypper=0 rpm=1|0|1|  sudo zypper install qt6-base-devel cmake ninja gcc-c++ make liberation-fonts"
    "arch, nothing installed|pacman=1|0|1|  sudo pacman -S --needed qt6-base cmake ninja gcc make ttf-liberation"
    "macos, nothing installed|brew=1|0|1|  brew install qt cmake ninja font-liberation"
    "fedora, QUORVEL_SKIP_DEPS=1|dnf=0 rpm=1|1|0|QUORVEL_SKIP_DEPS=1: not checking packages, going straight to CMake."
    "no package manager|true=0|0|0|No known package manager: not installing anything, going straight to CMake."
)
for row in "${cases[@]}"; do
    IFS='|' read -r name stubs skip want_rc want_line <<<"$row"
    # shellcheck disable=SC2086
    dir=$(stub_path "${name//[^a-z]/_}" $stubs)
    rc=0
    out=$(PATH=$dir QUORVEL_SKIP_DEPS=$skip /bin/sh "$script" 2>&1) || rc=$?
    if [ "$rc" != "$want_rc" ]; then
        fail "$name: status $rc, expected $want_rc"$'\n'"$out"
    elif [ -n "$want_line" ] && ! grep -qxF -- "$want_line" <<<"$out"; then
        fail "$name: no line '$want_line' in"$'\n'"$out"
    elif [ -z "$want_line" ] && [ -n "$out" ]; then
        fail "$name: expected no output, got"$'\n'"$out"
    else
        echo "ok   $name"
    fi
done

# This machine without dpkg and apt: every program of /usr/bin and /bin but those.
bin="$work/no-apt"
mkdir "$bin"
for f in /usr/bin/* /bin/*; do
    case ${f##*/} in dpkg* | apt*) continue ;; esac
    [ -e "$bin/${f##*/}" ] || ln -s "$f" "$bin/${f##*/}"
done
rc=0
out=$(PATH=$bin /bin/sh "$script" 2>&1) || rc=$?
if [ "$rc" -ne 0 ] || ! grep -q "going straight to CMake" <<<"$out"; then
    fail "without dpkg and apt: status $rc"$'\n'"$out"
elif ! PATH=$bin cmake -S "$source_dir" -B "$work/build" -G Ninja -DBUILD_TESTING=OFF \
        >"$work/cmake.log" 2>&1; then
    fail "without dpkg and apt: CMake does not configure"$'\n'"$(tail -n 20 "$work/cmake.log")"
else
    echo "ok   without dpkg and apt the set-up goes on and CMake configures"
fi

passed set-up
