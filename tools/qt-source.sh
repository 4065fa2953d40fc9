# shellcheck shell=bash
# Shared by the scripts that build Qt for another platform from the Debian
# source of the host's own Qt version (sourced, not run). The build's steps use
# the script's prefix, the cache folder.

installed() { [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]; }

# Installs the Debian packages named, as root; otherwise names them and fails.
install_packages() {
    local p missing=()
    for p in "$@"; do installed "$p" || missing+=("$p"); done
    [ ${#missing[@]} -gt 0 ] || return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run this as root, then try again:"
        echo "  apt-get update && apt-get install -y ${missing[*]}"
        return 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=900 update -q
    apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
}

qt_version() {   # upstream version of the host's Qt: 6.4.2+dfsg-10 -> 6.4.2
    local v
    v=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) || return 1
    v=${v#*:}; v=${v%%[+~-]*}
    echo "$v"
}

qt_source_id() {   # "qt6-base 6.4.2+dfsg-10": what a cache was built from
    dpkg-query -W -f='${source:Package} ${source:Version}' qt6-base-dev
}

# Unpacks the host Qt's source package into $1/src (once; an interrupted run
# starts again) and prints the source tree's path.
fetch_qt_source() {
    local work=$1 src apt f
    src=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d 2>/dev/null | head -n1 || true)
    if [ -n "$src" ] && [ -f "$src/.quorvel-unpacked" ]; then
        echo "$src"
        return 0
    fi
    rm -rf "$work/src" && mkdir -p "$work/src"
    # This machine's package sources may list only binary packages. A private
    # apt configuration adds source lines for the same archives, so nothing on
    # the system changes and no archive's address is written down anywhere.
    apt=$work/apt
    rm -rf "$apt" && mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache/archives/partial"
    : > "$apt/sources.list"
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >> "$apt/sources.list"
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        sed 's/^Types:.*/Types: deb-src/' "$f" > "$apt/parts/$(basename "$f")"
    done
    local aptopts=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/parts"
                   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
                   -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
                   -o "APT::Sandbox::User=$(id -un)")
    # A source without source packages (a third-party repository) only warns.
    apt-get "${aptopts[@]}" update -q >&2 || echo "warning: some package sources failed to update" >&2
    local id
    id=$(qt_source_id)
    (cd "$work/src" && apt-get "${aptopts[@]}" source -q "${id% *}=${id#* }") >&2
    src=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d | head -n1)
    [ -n "$src" ] || { echo "apt-get source gave no source tree" >&2; return 1; }
    echo "$src"
}

# Sets cache_key, what a cache holds: the host Qt's source, the toolchain's version
# ($1, the line it prints) and the files that say how Qt is built (the rest). Any
# change to them builds Qt again from nothing.
qt_cache_key() {
    local toolchain=$1
    shift
    cache_key="$(qt_source_id); $toolchain; $(cat "$@" | sha256sum | cut -c1-16)"
}

# True when the cache in $1 was built from cache_key, after checking its files with
# the caller's files_present; says so, naming the platform $2.
qt_cached() {
    local prefix=$1 platform=$2
    [ -f "$prefix/.quorvel-built-from" ] &&
        [ "$(cat "$prefix/.quorvel-built-from")" = "$cache_key" ] || return 1
    files_present || { echo "The cache in $prefix is damaged; remove it and run again" >&2; exit 1; }
    echo "Qt $(qt_version) for $platform already built in $prefix"
}

# Sets work, src and build for a build for the platform named $1: a work folder
# beside the cache, the host Qt's source unpacked in it, and the build folder there.
# The source and the build stay until Qt is installed, so an interrupted build
# carries on where it stopped.
qt_build_start() {
    work=$prefix.build
    mkdir -p "$work"
    echo "Building Qt $(qt_version) ($(qt_source_id)) for $1 into $prefix"
    echo "Work folder: $work"
    src=$(fetch_qt_source "$work")
    build=$work/build
}

# The folder of the host Qt's CMake files, whose tools (moc, rcc, uic) the build runs.
qt_host_cmake_dir() {
    dirname "$(ls -d /usr/lib/*/cmake/Qt6CoreTools /usr/lib/cmake/Qt6CoreTools 2>/dev/null | head -n1)"
}

# Builds the configured Qt in $build and installs it into the cache; once $1, the
# caller's check of what is installed, passes, marks the cache with cache_key and
# removes the work folder. $2 names the platform.
qt_build_finish() {
    local check=$1 platform=$2
    cmake --build "$build" -j "${JOBS:-$(nproc)}"
    rm -rf "$prefix"
    cmake --install "$build"
    "$check"
    echo "$cache_key" > "$prefix/.quorvel-built-from"
    rm -rf "$work"
    echo "Qt $(qt_version) for $platform installed in $prefix ($(du -sh "$prefix" | cut -f1))"
}
