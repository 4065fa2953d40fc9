#!/bin/bash
# Builds Qt for 64-bit Windows with MinGW-w64, from the Debian source of the
# host's own Qt version, and installs it into a cache folder that the Windows
# build of the game (`make windows`) compiles against. The first run on a
# machine takes about 11 minutes on two idle cores (more on a busy machine);
# later runs find the cache and return at once.
#
#   tools/build-qt-mingw.sh           build if not cached yet, then check it
#   tools/build-qt-mingw.sh --prefix  print the cache folder and exit
#
# QUORVEL_QT_MINGW  cache folder (default ~/.cache/quorvel/qt-<version>-mingw64)
# JOBS              parallel compile jobs (default: the number of cores)
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=qt-source.sh
source "$here/tools/qt-source.sh"
toolchain=$here/cmake/mingw-w64-x86_64.cmake
triplet=x86_64-w64-mingw32

# What the cross build needs: the compilers, the host's Qt tools of the same
# version (moc, rcc, uic run on this machine), and what fetches and unpacks
# Debian source packages.
# Wine (64-bit, with its own fonts) runs the result: this script's check and
# `make test-windows`. NSIS makes the installer; pefile reads the resources of the
# built program back in the tests.
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
          mingw-w64-x86-64-dev qt6-base-dev qt6-base-dev-tools dpkg-dev
          cmake ninja-build xz-utils wine wine64 fonts-wine nsis python3-pefile)

prefix_for() { echo "${QUORVEL_QT_MINGW:-$HOME/.cache/quorvel/qt-$1-mingw64}"; }

if [ "${1:-}" = --prefix ]; then
    v=$(qt_version) || { echo "qt6-base-dev is not installed" >&2; exit 1; }
    prefix_for "$v"
    exit 0
fi

install_packages "${packages[@]}"

version=$(qt_version)
prefix=$(prefix_for "$version")

files_present() {
    local bin=$prefix/bin f
    for f in "$bin/Qt6Core.dll" "$bin/Qt6Gui.dll" "$bin/Qt6Widgets.dll" "$bin/Qt6Test.dll" \
             "$prefix/plugins/platforms/qwindows.dll" "$prefix/plugins/imageformats/qico.dll"; do
        [ -f "$f" ] || { echo "check: $f is missing" >&2; return 1; }
    done
}

check() {
    files_present || return 1
    # Every DLL the platform plugin imports is Qt's own, the MinGW runtime's,
    # or one that Windows has (and so Wine: its builtin DLLs stand in for them).
    local dll missing_dlls=""
    for dll in $("$triplet-objdump" -p "$prefix/plugins/platforms/qwindows.dll" \
                 | sed -n 's/^\s*DLL Name: //p'); do
        case $dll in
            Qt6*.dll) [ -f "$prefix/bin/$dll" ] || missing_dlls="$missing_dlls $dll" ;;
            libstdc++-6.dll|libgcc_s_seh-1.dll|libwinpthread-1.dll) ;;
            # API sets: names the Windows loader maps to its own DLLs, not files.
            api-ms-win-*|ext-ms-win-*) ;;
            *) [ -n "$(find /usr/lib/*/wine/x86_64-windows /usr/lib/wine/x86_64-windows \
                       -iname "$dll" -print -quit 2>/dev/null)" ] || missing_dlls="$missing_dlls $dll" ;;
        esac
    done
    if [ -n "$missing_dlls" ]; then
        echo "check: qwindows.dll imports DLLs nobody supplies:$missing_dlls" >&2
        return 1
    fi
    # And a tiny Windows program loads the plugin under Wine.
    "$here/tools/check-qt-mingw.sh" "$prefix" || return 1
    echo "check: Qt $version for MinGW in $prefix is complete"
}

qt_cache_key "$("$triplet-g++" --version | head -n1)" \
    "$here/tools/build-qt-mingw.sh" "$here/tools/qt-source.sh" "$here/tools/check-qt-mingw.sh"
qt_cached "$prefix" MinGW && exit 0

qt_build_start "$triplet"
if [ ! -f "$src/.quorvel-unpacked" ]; then
    # The changes the cross build needs, and nothing else.
    plugin=$src/src/plugins/platforms/windows
    # Debian's source leaves out the Wintab SDK header: build the Windows
    # platform plugin without graphics tablet support.
    if [ ! -f "$src/src/3rdparty/wintab/wintab.h" ]; then
        sed -i "s/CONDITION QT_FEATURE_tabletevent$/CONDITION FALSE/" \
            "$plugin/CMakeLists.txt"
        grep -rl 'QT_CONFIG(tabletevent)' "$plugin" | xargs -r sed -i 's/QT_CONFIG(tabletevent)/0/g'
    fi
    touch "$src/.quorvel-unpacked"
fi

mkdir -p "$build"
if [ ! -f "$build/build.ninja" ]; then
    # The smallest Qt the game and its tests need: Core, Gui, Widgets, Test,
    # accessibility and the .ico reader (no longer shipped), with zlib, libpng, HarfBuzz, FreeType
    # and PCRE2 built in, so the DLLs need nothing but Windows and the runtime.
    # Text goes through GDI where Qt builds without DirectWrite and Direct2D
    # (6.4); from 6.8 Qt's Windows font code needs both. Direct2D 1.1 only adds
    # the Direct2D platform plugin, which the game does not use.
    if dpkg --compare-versions "$version" lt 6.8; then
        text_features=(-DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF -DFEATURE_directwrite3=OFF)
    else
        text_features=(-DFEATURE_direct2d=ON -DFEATURE_directwrite=ON -DFEATURE_direct2d1_1=OFF)
    fi
    cmake -S "$src" -B "$build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQUORVEL_QT_MINGW="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$(qt_host_cmake_dir)" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF \
        -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON \
        -DFEATURE_accessibility=ON -DFEATURE_ico=ON \
        -DINPUT_opengl=no -DFEATURE_opengl=OFF "${text_features[@]}" -DFEATURE_vulkan=OFF -DFEATURE_network=OFF -DFEATURE_sql=OFF \
        -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF \
        -DFEATURE_concurrent=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
        -DFEATURE_zstd=OFF -DFEATURE_glib=OFF -DFEATURE_icu=OFF -DFEATURE_androiddeployqt=OFF \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_pcre2=OFF \
        -DFEATURE_freetype=ON -DFEATURE_harfbuzz=ON -DFEATURE_png=ON
fi
qt_build_finish check MinGW
