# shellcheck shell=bash
# A Debian system of another release in a folder, for the scripts that build or test
# there (sourced, not run): the archive to take it from, a minimal system made with
# debootstrap, the mounts a build or a test needs inside, and taking them down again.
# Callers set `root`, the chroot's folder, and `say`, a function that reports.

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

# Sets `mirror`: QUORVEL_MIRROR, or the archive this machine's apt uses.
chroot_mirror() {
    mirror=${QUORVEL_MIRROR:-$(find_mirror | head -n1)}
    if [ -z "$mirror" ]; then
        echo "No Debian archive found in /etc/apt/sources*; set QUORVEL_MIRROR=URI." >&2
        return 1
    fi
}

chroot_need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "$1" >&2
        exit 1
    fi
}

# debootstrap --variant=minbase of release $1 into $root with the packages $2
# (comma-separated) added; $3 is the log file. On failure says why and returns 1.
chroot_debootstrap() {
    local dist=$1 includes=$2 log=$3
    chroot_mirror || return 1
    if ! command -v debootstrap >/dev/null; then
        say "installing debootstrap"
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
            -o DPkg::Lock::Timeout=900 debootstrap
    fi
    # apt in a minimal system reaches an https mirror only with the CA certificates.
    case $mirror in https:*) includes=$includes,ca-certificates ;; esac
    say "debootstrap --variant=minbase $dist from $mirror"
    mkdir -p "$root"
    if ! debootstrap --variant=minbase --include="$includes" "$dist" "$root" "$mirror" \
            >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        tail -n 30 "$root/debootstrap/debootstrap.log" >&2 2>/dev/null || true
        echo "debootstrap of Debian $dist from $mirror failed (log: $log)" >&2
        return 1
    fi
}

# Mount points at or below the chroot, deepest first.
chroot_mounts() {
    awk -v r="$root" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/self/mounts | sort -r
}

# Ends whatever runs inside the chroot (a bus, an X server) and unmounts everything
# below it; fails when something stays mounted.
chroot_unmount() {
    local pid m
    [ -d "$root" ] || return 0
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$root" ] && kill -KILL "$pid" 2>/dev/null
    done
    sleep 0.5
    for m in $(chroot_mounts); do
        umount "$m" 2>/dev/null || umount -l "$m"
    done
    if [ -n "$(chroot_mounts)" ]; then
        echo "still mounted under $root:" >&2
        chroot_mounts >&2
        return 1
    fi
}

# What a booted system has and a chroot lacks: a machine id (D-Bus wants one), a name
# server, and the kernel's file systems, with a /dev of its own that holds the usual
# device nodes and nothing of this machine's.
chroot_mount() {
    if [ ! -s "$root/etc/machine-id" ]; then
        { od -An -N16 -tx1 /dev/urandom | tr -d ' \n'; echo; } >"$root/etc/machine-id"
    fi
    rm -f "$root/etc/resolv.conf"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    mount -t proc proc "$root/proc"
    mount -t sysfs -o ro sysfs "$root/sys"
    mount -t tmpfs -o mode=755,nosuid tmpfs "$root/dev"
    local node name major minor
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
}

# Runs the shell command $1 inside the chroot as root, in a plain environment plus the
# NAME=VALUE pairs that follow.
chroot_run() {
    local command=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" \
        sh -c "$command" </dev/null
}
