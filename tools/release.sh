#!/bin/bash
# Makes a release of the last commit into dist/: the Debian package, the Windows zip
# and setup program, and the page as a .tar.gz for any static host, each named with
# the version (NEWS.md's newest section), and dist/SHA256SUMS listing every file in
# dist/.
#
# Two releases of one commit give the same bytes, wherever the clone lies, whenever
# and by whom they are made: each is built in a fresh clone of the commit
# (build/release/), with SOURCE_DATE_EPOCH set to the commit's time, in UTC and the C
# locale, with umask 022 (see cmake/reproducible.cmake and tools/archive.py).
#
# Refuses, before building anything, a tree with uncommitted changes and a version
# that dist/ already holds. The page is built first: on Debian 12 it needs root,
# and web.sh says so in one line.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
refuse() { echo "release: $*" >&2; exit 2; }

[ -z "$(git status --porcelain --untracked-files=normal)" ] ||
    refuse "the tree has uncommitted changes (see git status): commit them, or stash them, first"
# The packages the desktop build needs (CMake among them), before anything is built.
sh tools/install-deps.sh
version=$(cmake -P cmake/news.cmake)
names=("quorvel_${version}_amd64.deb" "quorvel-$version-win64.zip"
       "quorvel-$version-win64-setup.exe" "quorvel-$version-web.tar.gz")
for name in "${names[@]}"; do
    [ ! -e "dist/$name" ] ||
        refuse "dist/$name exists: version $version is released already (a new one starts with a section in NEWS.md)"
done

export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8
unset LANGUAGE
umask 022
commit=$(git rev-parse HEAD)
echo "release: $version from $commit ($(date -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M %Z'))"

src=$here/build/release/quorvel
rm -rf "$here/build/release"
mkdir -p "$here/build/release"
git clone -q --no-local --no-hardlinks "$here" "$src"
git -C "$src" checkout -q --detach "$commit"
# The clone's own files get this moment's times; nothing below may depend on them.

# The page, in the Debian 13 system on Debian 12.
bash "$src/tools/web.sh"
cp -a "$src/build/web" "$here/build/release/quorvel-$version-web"

# Windows: Qt for MinGW comes from the cache, or is built there first.
bash "$src/tools/build-qt-mingw.sh"
QUORVEL_QT_MINGW=$(bash "$src/tools/build-qt-mingw.sh" --prefix)
export QUORVEL_QT_MINGW
(cd "$src" && cmake --preset windows -DBUILD_TESTING=OFF >/dev/null &&
    cmake --build --preset windows -j "${JOBS:-$(nproc)}")

# Debian: the program and its package, without the tests.
(cd "$src" && cmake --preset default -DBUILD_TESTING=OFF >/dev/null &&
    cmake --build --preset default -j "${JOBS:-$(nproc)}" --target quorvel &&
    cd build/default && cpack)

mkdir -p dist
python3 "$src/tools/archive.py" "$here/build/release/quorvel-$version-web" \
    "dist/quorvel-$version-web.tar.gz"
cp "$src/build/default/quorvel_${version}_amd64.deb" "$src/build/windows/quorvel-$version-win64.zip" \
    "$src/build/windows/quorvel-$version-win64-setup.exe" dist/
(cd dist && find . -maxdepth 1 -type f ! -name 'SHA256SUMS*' -printf '%P\n' | sort |
    xargs -d '\n' sha256sum >SHA256SUMS.new && mv SHA256SUMS.new SHA256SUMS)
rm -rf "$here/build/release"
echo "release: $version in dist/:"
(cd dist && for name in "${names[@]}"; do grep -F "  $name" SHA256SUMS; done)
