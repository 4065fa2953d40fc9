#!/bin/bash
# Runs the README's `make test` on a fresh, minimal Debian of another release, the
# way a new player or contributor would: a debootstrap'd system with only `make`
# added, a clean clone of HEAD, and nothing else from this machine.
#
# Usage (as root): tools/test-on.sh DIST [TARGET]   e.g. trixie, bookworm
# TARGET is the make target to run there instead of `test`, e.g. test-windows.
#
# The minimal system is cached as build/test-on/DIST-ARCH.tar.gz and made afresh
# when that is older than a week. Each run unpacks it into build/test-on/DIST-root,
# mounts /proc, /sys, a private /dev, /dev/pts and /dev/shm there, and takes all of
# that down again on the way out, also after a failure or an interrupt.
#
# The Debian mirror is the one this machine's apt already uses (override with
# QUORVEL_MIRROR=URI).
set -euo pipefail

dist=${1:-}
target=${2:-test}
if [ -z "$dist" ] || [ $# -gt 2 ]; then
    echo "usage: $0 DIST [TARGET]   (a Debian release such as trixie or bookworm)" >&2
    exit 2
fi
case $dist in
    *[!a-z0-9-]*) echo "not a release name: $dist" >&2; exit 2 ;;
esac
case $target in
    ''|*[!a-z0-9-]*) echo "not a make target: $target" >&2; exit 2 ;;
esac
# shellcheck source=chroot.sh
source "$(dirname "$0")/chroot.sh"
chroot_need_root "$0 needs root: it builds a chroot and mounts file systems in it."

top=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)
head=$(git -C "$top" rev-parse HEAD)
arch=$(dpkg --print-architecture)
work="$top/build/test-on"
cache="$work/$dist-$arch.tar.gz"
root="$work/$dist-root"
log="$work/$dist.log"
started=$SECONDS

say() { echo "test-on $dist: $*"; }
stage_start=$SECONDS
stage() {
    say "$1 ($((SECONDS - stage_start)) s since the last step, $((SECONDS - started)) s in all)"
    stage_start=$SECONDS
}

mkdir -p "$work"

# --- Taking it all down again ------------------------------------------------
cleanup() {
    local rc=$?
    trap - EXIT INT TERM HUP
    set +e
    if [ -d "$root" ]; then
        if chroot_unmount; then
            rm -rf --one-file-system "$root"
        else
            echo "test-on $dist: leaving $root in place" >&2
        fi
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

# A chroot left by a run that was killed outright (SIGKILL, power) goes first.
if [ -d "$root" ]; then
    chroot_unmount || exit 1
    rm -rf --one-file-system "$root"
fi

# --- The minimal system, cached -------------------------------------------------
if [ -f "$cache" ] && [ -z "$(find "$cache" -mmin +$((7 * 24 * 60)))" ]; then
    say "minimal system from $(basename "$cache") ($(date -r "$cache" +%F))"
else
    chroot_debootstrap "$dist" make "$work/$dist-debootstrap.log" || exit 1
    chroot "$root" apt-get clean
    tar --numeric-owner -C "$root" -czf "$cache.new" .
    mv "$cache.new" "$cache"
    rm -rf --one-file-system "$root"
    stage "made $(basename "$cache"), $(du -h "$cache" | cut -f1)"
fi
mkdir "$root"
tar --numeric-owner -C "$root" -xpzf "$cache"

# The chroot is thrown away after the run: dpkg need not sync every file it unpacks.
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/quorvel-test-on-unsafe-io"
chroot_mount

# --- A clean clone of HEAD, then the README's command -------------------------------
if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
    say "note: uncommitted changes are not tested, only HEAD ${head:0:12}"
fi
git clone --quiet --no-checkout "$top" "$root/root/quorvel"
git -C "$root/root/quorvel" checkout --quiet --detach "$head"
stage "chroot ready, testing ${head:0:12}"

# In the background, so that a signal to this script is taken at once (bash holds a
# trap back until a foreground command ends); the clean-up then ends the suite.
status="$work/$dist.status"
rm -f "$status"
{
    chroot_run "cd /root/quorvel && make $target"
    echo $? >"$status"
} 2>&1 | tee "$log" &
wait $!
rc=$(cat "$status" 2>/dev/null || echo 1)
# CTest's full log (every test's output, also of those that passed) outlives the chroot.
for last in "$root"/root/quorvel/build/*/Testing/Temporary/LastTest.log; do
    if [ -f "$last" ]; then cp "$last" "$work/$dist-LastTest.log"; fi
done
stage "make $target ended with status $rc (logs: ${log#"$top"/}, ${work#"$top"/}/$dist-LastTest.log)"
if [ "$rc" -eq 0 ]; then
    say "passed in $((SECONDS - started)) s"
else
    say "FAILED in $((SECONDS - started)) s"
fi
exit "$rc"
