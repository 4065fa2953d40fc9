#!/bin/bash
# Builds Qt for the browser (WebAssembly, with Debian's emscripten) from the
# Debian source of the host's own Qt version, and installs it into a cache
# folder that the browser build of the game (`make web`) links against. The
# first run on a machine takes about 8 minutes on two idle cores (more on a busy
# machine); later runs find the cache and return at once.
#
#   tools/build-qt-wasm.sh           build if not cached yet
#   tools/build-qt-wasm.sh --prefix  print the cache folder and exit
#   tools/build-qt-wasm.sh --emsdk   print the emscripten folder Qt's CMake files expect
#
# QUORVEL_QT_WASM  cache folder (default ~/.cache/quorvel/qt-<version>-wasm)
# JOBS             parallel compile jobs (default: the number of cores)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=qt-source.sh
source "$here/tools/qt-source.sh"

# emscripten with its LLVM, binaryen and Node; acorn for emscripten's JS
# optimiser; the host's Qt tools of the same version (moc, rcc, uic run here);
# what fetches and unpacks Debian source packages.
# Headless Chromium, driven by Selenium, plays the result: `make test-web`.
packages=(emscripten binaryen node-acorn qt6-base-dev qt6-base-dev-tools dpkg-dev
          cmake ninja-build xz-utils perl chromium chromium-driver python3-selenium)

prefix_for() { echo "${QUORVEL_QT_WASM:-$HOME/.cache/quorvel/qt-$1-wasm}"; }

# Qt's CMake files find emscripten through an emsdk folder ($EMSDK), which
# Debian's packages do not have: a folder beside the cache stands in for it,
# with links to Debian's compiler drivers and CMake files.
emsdk_for() {
    local emsdk root tool
    emsdk=$(prefix_for "$1").emsdk
    root=$emsdk/upstream/emscripten
    if [ ! -f "$emsdk/.emscripten" ]; then
        mkdir -p "$root"
        for tool in emcc em++ emar emranlib; do ln -sfn "/usr/bin/$tool" "$root/$tool"; done
        ln -sfn /usr/share/emscripten/cmake "$root/cmake"
        echo "EMSCRIPTEN_ROOT = emsdk_path + '/upstream/emscripten'" > "$emsdk/.emscripten"
    fi
    echo "$emsdk"
}

case ${1:-} in
    --prefix|--emsdk)
        v=$(qt_version) || { echo "qt6-base-dev is not installed" >&2; exit 1; }
        if [ "$1" = --prefix ]; then prefix_for "$v"; else emsdk_for "$v"; fi
        exit 0 ;;
esac

install_packages "${packages[@]}"

version=$(qt_version)
prefix=$(prefix_for "$version")
stamp=$prefix/.quorvel-built-from
EMSDK=$(emsdk_for "$version")
export EMSDK
# Debian's Node finds acorn here; a Node from elsewhere may not look.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

files_present() {
    local f
    for f in "$prefix/lib/libQt6Core.a" "$prefix/lib/libQt6Gui.a" "$prefix/lib/libQt6Widgets.a" \
             "$prefix/plugins/platforms/libqwasm.a" "$prefix/plugins/imageformats/libqico.a" \
             "$prefix/plugins/platforms/qtloader.js"; do
        [ -f "$f" ] || { echo "check: $f is missing" >&2; return 1; }
    done
}

qt_cached "$prefix" WebAssembly && exit 0

# The source and the build stay next to the cache until Qt is installed, so an
# interrupted build carries on where it stopped; they go once it is complete.
work=$prefix.build
mkdir -p "$work"
echo "Building Qt $version ($(qt_source_id)) for WebAssembly into $prefix"
echo "Work folder: $work"
src=$(fetch_qt_source "$work")
if [ ! -f "$src/.quorvel-unpacked" ]; then
    # The one change to Qt's source: the browser platform plugin leaves out the
    # three fonts it embeds (1 MB); the game embeds the one face it draws with.
    perl -0pi -e 's/(qt_internal_add_resource\(QWasmIntegrationPlugin "wasmfonts".*?\n\))/if(FALSE)\n$1\nendif()/s' \
        "$src/src/plugins/platforms/wasm/CMakeLists.txt"
    grep -q '^if(FALSE)' "$src/src/plugins/platforms/wasm/CMakeLists.txt" ||
        { echo "could not leave the fonts out of the platform plugin" >&2; exit 1; }
    touch "$src/.quorvel-unpacked"
fi

build=$work/build
mkdir -p "$build"
if [ ! -f "$build/build.ninja" ]; then
    host_cmake=$(dirname "$(ls -d /usr/lib/*/cmake/Qt6CoreTools /usr/lib/cmake/Qt6CoreTools 2>/dev/null | head -n1)")
    # The smallest Qt the game needs: Core, Gui (with WebGL, which the browser
    # platform draws through) and Widgets, linked statically, single-threaded.
    # Optimised for size (-Os): every byte is downloaded before the first frame.
    # Each line turns off what the game never uses:
    #   no network, sql, xml, dbus, printing or concurrency modules;
    #   no threads (a threaded build needs cross-origin isolation headers);
    #   no test library (the browser build is tested end to end in a browser);
    #   image formats: only .ico (the pictures) and PNG (Qt's own resources);
    #   fonts come from the game (embedded), so no system font lookup.
    # Asyncify is not set here: the game's link step adds it, so Qt's
    # libraries do not depend on it.
    cmake -S "$src" -B "$build" -G Ninja \
        -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten \
        -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_SHARED_LIBS=OFF \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF \
        -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_ico=ON -DFEATURE_png=ON \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_thread=OFF \
        -DFEATURE_testlib=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
        -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_fontconfig=OFF
fi
cmake --build "$build" -j "${JOBS:-$(nproc)}"
rm -rf "$prefix"
cmake --install "$build"
files_present
qt_source_id > "$stamp"
rm -rf "$work"
echo "Qt $version for WebAssembly installed in $prefix ($(du -sh "$prefix" | cut -f1))"
