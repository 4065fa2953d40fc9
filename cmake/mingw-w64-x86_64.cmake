# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the POSIX-threads
# flavour, which has std::thread and std::mutex), against a Qt built for MinGW
# by tools/build-qt-mingw.sh. Qt's code generators (moc, rcc, uic) are the
# host's own, from qt6-base-dev-tools, of the same Qt version.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUORVEL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUORVEL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUORVEL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUORVEL_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${QUORVEL_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUORVEL_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

# Where Qt for MinGW lives: -DQUORVEL_QT_MINGW=... or the environment variable
# of the same name. The Makefile passes the folder the build script uses.
if(NOT QUORVEL_QT_MINGW AND DEFINED ENV{QUORVEL_QT_MINGW})
    set(QUORVEL_QT_MINGW "$ENV{QUORVEL_QT_MINGW}")
endif()
# Toolchain files run again in try_compile projects; pass the folder on.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORVEL_QT_MINGW)

set(CMAKE_FIND_ROOT_PATH /usr/${QUORVEL_MINGW_TRIPLET})
if(QUORVEL_QT_MINGW)
    list(APPEND CMAKE_FIND_ROOT_PATH "${QUORVEL_QT_MINGW}")
    list(APPEND CMAKE_PREFIX_PATH "${QUORVEL_QT_MINGW}")
endif()
# Programs run on the build machine; headers, libraries and packages are Windows ones.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's Qt supplies the tools that run during the build.
if(NOT QT_HOST_PATH)
    set(QT_HOST_PATH /usr CACHE PATH "Prefix of the host's Qt tools")
endif()
if(NOT QT_HOST_PATH_CMAKE_DIR)
    file(GLOB _quorvel_host_qt_tools "${QT_HOST_PATH}/lib/*/cmake/Qt6CoreTools"
                                     "${QT_HOST_PATH}/lib/cmake/Qt6CoreTools")
    if(_quorvel_host_qt_tools)
        list(GET _quorvel_host_qt_tools 0 _quorvel_host_qt_tools)
        get_filename_component(_quorvel_host_cmake_dir "${_quorvel_host_qt_tools}" DIRECTORY)
        set(QT_HOST_PATH_CMAKE_DIR "${_quorvel_host_cmake_dir}" CACHE PATH
            "CMake folder of the host's Qt tools")
    endif()
endif()
