#!/bin/bash
# Proves that a Qt built for MinGW works: a tiny Windows program loads the
# Windows platform plugin under Wine and writes down what happened.
#   tools/check-qt-mingw.sh <Qt prefix>
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
prefix=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat > "$work/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(qtcheck LANGUAGES CXX)
find_package(Qt6 REQUIRED COMPONENTS Core)
add_executable(qtcheck main.cpp)
target_link_libraries(qtcheck PRIVATE Qt6::Core)
CMAKE
cat > "$work/main.cpp" <<'CPP'
#include <QCoreApplication>
#include <QFile>
#include <QPluginLoader>
#include <QTextStream>
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QPluginLoader loader(QString::fromLocal8Bit(argv[1]));
    const bool loaded = loader.load() && loader.instance();
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly))
        return 2;
    QTextStream(&out) << (loaded ? "loaded" : "failed: " + loader.errorString()) << '\n';
    return loaded ? 0 : 1;
}
CPP
cmake -S "$work" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" -DQUORVEL_QT_MINGW="$prefix" >/dev/null
cmake --build "$work/build" >/dev/null

# A throwaway Wine prefix; the program finds Qt's and the runtime's DLLs by WINEPATH.
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
winpthread=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$(winepath -w "$prefix/bin" 2>/dev/null);$(winepath -w "$runtime" 2>/dev/null);$(winepath -w "$winpthread" 2>/dev/null)"
status=0
wine "$work/build/qtcheck.exe" "$(winepath -w "$prefix/plugins/platforms/qwindows.dll")" \
    "$(winepath -w "$work/result.txt")" >/dev/null 2>&1 || status=$?
wineserver -k 2>/dev/null || true
result=$(cat "$work/result.txt" 2>/dev/null || echo "no result (exit status $status)")
echo "check: qwindows.dll under Wine: $result"
[ "$result" = loaded ]
