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
# what fetches and unpacks Debian source packages; the face the page embeds and the
# page's brotli and gzip copies.
packages=(emscripten binaryen node-acorn qt6-base-dev qt6-base-dev-tools dpkg-dev
          cmake ninja-build make xz-utils perl brotli gzip fonts-liberation)

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

# The page's loader code and the Asyncify list are written for Qt 6.8 and the
# emscripten that Debian 13 has; tools/web.sh builds there.
version=$(qt_version)
case $version in
    6.8.*) ;;
    *) echo "the page builds with Debian 13's Qt 6.8 and emscripten (this system has Qt $version): run make web, which builds in a Debian 13 system on Debian 12" >&2
       exit 1 ;;
esac

prefix=$(prefix_for "$version")
EMSDK=$(emsdk_for "$version")
export EMSDK
# Debian's Node finds acorn here; a Node from elsewhere may not look.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs

files_present() {
    local f
    for f in "$prefix/lib/libQt6Core.a" "$prefix/lib/libQt6Gui.a" "$prefix/lib/libQt6Widgets.a" \
             "$prefix/plugins/platforms/libqwasm.a" \
             "$prefix/plugins/platforms/qtloader.js"; do
        [ -f "$f" ] || { echo "check: $f is missing" >&2; return 1; }
    done
}

qt_cache_key "$(emcc --version | head -n1)" "$here/tools/build-qt-wasm.sh" "$here/tools/qt-source.sh"
qt_cached "$prefix" WebAssembly && exit 0

qt_build_start WebAssembly
if [ ! -f "$src/.quorvel-unpacked" ]; then
    # The changes to Qt's source. The browser platform plugin leaves out the three
    # fonts it embeds (1 MB): the game embeds the one face it draws with.
    perl -0pi -e 's/(qt_internal_add_resource\(QWasmIntegrationPlugin "wasmfonts".*?\n\))/if(FALSE)\n$1\nendif()/s' \
        "$src/src/plugins/platforms/wasm/CMakeLists.txt"
    grep -q '^if(FALSE)' "$src/src/plugins/platforms/wasm/CMakeLists.txt" ||
        { echo "could not leave the fonts out of the platform plugin" >&2; exit 1; }
    touch "$src/.quorvel-unpacked"
fi

mkdir -p "$build"
if [ ! -f "$build/build.ninja" ]; then
    # The smallest Qt the game needs: Core, Gui and Widgets, linked statically,
    # single-threaded. Widget windows are drawn into 2D canvases, so the page needs
    # no WebGL (OpenGL stays on: the platform plugin's backing store is built with it).
    # Optimised for size (-Os): every byte is downloaded before the first frame.
    # Each line turns off what the game never uses:
    #   no network, sql, xml, dbus, printing or concurrency modules;
    #   no threads (a threaded build needs cross-origin isolation headers);
    #   no test library (the browser build is tested end to end in a browser);
    #   image formats: only PNG, which Gui reads itself;
    #   fonts come from the game (embedded), so no system font lookup.
    # Asyncify is not set here: the game's link step adds it, so Qt's
    # libraries do not depend on it.
    # And the features the page never shows or runs, left out because every byte is
    # downloaded (the accessibility factory and the style machinery reach all of it):
    left_out=(
        # the style-sheet style and the CSS parser behind it: the game sets no style sheet
        style_stylesheet cssparser effects
        # widgets the game has no use for: only buttons, labels, a list and frames
        treewidget tablewidget commandlinkbutton datetimeedit stackedwidget textbrowser
        splashscreen splitter formlayout lcdnumber menu menubar contextmenu lineedit
        radiobutton spinbox tabbar tabwidget combobox fontcombobox toolbutton toolbar
        toolbox mainwindow dockwidget mdiarea statusbar progressbar dial scroller
        graphicsview graphicseffect textedit syntaxhighlighter rubberband tooltip
        statustip sizegrip calendarwidget keysequenceedit tableview treeview
        datawidgetmapper columnview completer fscompleter undoview whatsthis
        # no dialogs but the message box (with the check box it needs), which the
        # accessibility factory refers to: in the page an error is written into the page
        colordialog filedialog fontdialog progressdialog inputdialog errormessage wizard
        # documents, pictures, movies and undo stacks: the game draws plain text and icons
        textodfwriter textmarkdownreader textmarkdownwriter movie pdf picture
        undocommand undostack undogroup systemtrayicon sessionmanager validator
        standarditemmodel imageformat_ppm imageformat_xbm
        # no settings files, time zones, other calendars, command lines or model
        # proxies: a page has no files and the game no need of them (file types stay:
        # the platform plugin's drag and drop uses them)
        settings timezone datetimeparser commandlineparser jalalicalendar hijricalendar
        islamiccivilcalendar sortfilterproxymodel identityproxymodel transposeproxymodel
        concatenatetablesproxymodel filesystemwatcher sharedmemory systemsemaphore
    )
    left_out=("${left_out[@]/#/-DFEATURE_}")
    cmake -S "$src" -B "$build" -G Ninja \
        -DQT_QMAKE_TARGET_MKSPEC=wasm-emscripten \
        -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$(qt_host_cmake_dir)" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_SHARED_LIBS=OFF \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DQT_BUILD_TOOLS_WHEN_CROSSCOMPILING=OFF \
        -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_ico=OFF -DFEATURE_png=ON \
        -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_xml=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF \
        -DFEATURE_thread=OFF \
        -DFEATURE_testlib=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF \
        -DFEATURE_zstd=OFF -DFEATURE_icu=OFF -DFEATURE_fontconfig=OFF \
        "${left_out[@]/%/=OFF}"
fi
# A feature left out takes every feature that needs it along, silently: stop here, not
# at the game's build, if one that the game uses went that way.
for feature in widgets/listwidget widgets/label widgets/pushbutton widgets/style_fusion \
               gui/accessibility; do
    seen=$(grep -h "^#define QT_FEATURE_${feature#*/} " "$build/src/${feature%/*}/qt${feature%/*}-config"*.h || true)
    if [ "$seen" != "#define QT_FEATURE_${feature#*/} 1" ]; then
        echo "Qt's configuration left out ${feature#*/}, which the game needs (its headers say: ${seen:-nothing})" >&2
        exit 1
    fi
done
qt_build_finish files_present WebAssembly
