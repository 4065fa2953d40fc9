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
if [ "$(id -u)" -ne 0 ]; then
    echo "$0 needs root: it builds a chroot and mounts file systems in it." >&2
    exit 1
fi

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

# The first `deb` source of the Debian archive itself (not its security or
# updates suites) in this machine's apt sources, one-line or deb822 form.
find_mirror() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        awk '$1 == "deb" {
                 i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
                 if ($(i + 1) !~ /-(security|updates|backports)$/ && $i !~ /security/) { print $i; exit }
             }' "$f"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk 'function flush() {
                 if (types ~ /(^| )deb( |$)/ && uris != "" && uris !~ /security/ &&
                     suites ~ /(^| )[a-z]+( |$)/) { split(uris, u, " "); print u[1]; exit }
                 types = uris = suites = ""
             }
             /^[ \t]*$/ { flush(); next }
             /^[ \t]*#/ { next }
             tolower($1) == "types:" { sub(/^[^:]*:[ \t]*/, ""); types = $0 }
             tolower($1) == "uris:" { sub(/^[^:]*:[ \t]*/, ""); uris = $0 }
             tolower($1) == "suites:" { sub(/^[^:]*:[ \t]*/, ""); suites = $0 }
             END { flush() }' "$f"
    done
}

mirror=${QUORVEL_MIRROR:-$(find_mirror | head -n1)}
if [ -z "$mirror" ]; then
    echo "No Debian archive found in /etc/apt/sources*; set QUORVEL_MIRROR=URI." >&2
    exit 1
fi

if ! command -v debootstrap >/dev/null; then
    say "installing debootstrap"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
        -o DPkg::Lock::Timeout=900 debootstrap
fi

mkdir -p "$work"

# --- Taking it all down again ------------------------------------------------
mounted=()

mounts_under() {
    # Mount points at or below the chroot, deepest first.
    awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r
}

cleanup() {
    local rc=$? pid m
    trap - EXIT INT TERM HUP
    set +e
    if [ -d "$root" ]; then
        # Whatever the suite left running inside (a bus, an X server) goes first.
        for pid in $(ls /proc | grep -E '^[0-9]+$'); do
            [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
        done
        sleep 0.5
        for m in $(mounts_under); do
            umount "$m" 2>/dev/null || umount -l "$m"
        done
        if [ -n "$(mounts_under)" ]; then
            echo "test-on $dist: still mounted, leaving $root in place:" >&2
            mounts_under >&2
        else
            rm -rf --one-file-system "$root"
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
    for m in $(mounts_under); do umount "$m" 2>/dev/null || umount -l "$m"; done
    [ -z "$(mounts_under)" ] || { echo "$root is still mounted" >&2; exit 1; }
    rm -rf --one-file-system "$root"
fi

# --- The minimal system, cached -------------------------------------------------
if [ -f "$cache" ] && [ -z "$(find "$cache" -mmin +$((7 * 24 * 60)))" ]; then
    say "minimal system from $(basename "$cache") ($(date -r "$cache" +%F))"
else
    say "debootstrap --variant=minbase $dist from $mirror"
    includes=make
    # apt in a minimal system reaches an https mirror only with the CA certificates.
    case $mirror in https:*) includes=$includes,ca-certificates ;; esac
    mkdir "$root"
    if ! debootstrap --variant=minbase --include="$includes" "$dist" "$root" "$mirror" \
            >"$work/$dist-debootstrap.log" 2>&1; then
        tail -n 30 "$work/$dist-debootstrap.log" >&2
        tail -n 30 "$root/debootstrap/debootstrap.log" >&2 2>/dev/null || true
        echo "test-on $dist: debootstrap failed" >&2
        exit 1
    fi
    chroot "$root" apt-get clean
    tar --numeric-owner -C "$root" -czf "$cache.new" .
    mv "$cache.new" "$cache"
    rm -rf --one-file-system "$root"
    stage "made $(basename "$cache"), $(du -h "$cache" | cut -f1)"
fi
mkdir "$root"
tar --numeric-owner -C "$root" -xpzf "$cache"

# What a booted system has and a chroot lacks: a machine id (D-Bus wants one) and a
# name server.
if [ ! -s "$root/etc/machine-id" ]; then
    { od -An -N16 -tx1 /dev/urandom | tr -d ' \n'; echo; } >"$root/etc/machine-id"
fi
rm -f "$root/etc/resolv.conf"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The chroot is thrown away after the run: dpkg need not sync every file it unpacks.
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/quorvel-test-on-unsafe-io"

# --- Mounts ---------------------------------------------------------------------
mount -t proc proc "$root/proc"
mount -t sysfs -o ro sysfs "$root/sys"
# A /dev of its own: the suite sees the usual device nodes and nothing of this machine's.
mount -t tmpfs -o mode=755,nosuid tmpfs "$root/dev"
for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
    IFS=: read -r name major minor <<<"$node"
    mknod -m 666 "$root/dev/$name" c "$major" "$minor"
done
ln -s /proc/self/fd "$root/dev/fd"
ln -s /proc/self/fd/0 "$root/dev/stdin"
ln -s /proc/self/fd/1 "$root/dev/stdout"
ln -s /proc/self/fd/2 "$root/dev/stderr"
mkdir "$root/dev/pts" "$root/dev/shm"
mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$root/dev/pts"
ln -s pts/ptmx "$root/dev/ptmx"
mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/dev/shm"
mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$root/tmp"

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
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        sh -c "cd /root/quorvel && make $target" </dev/null
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
