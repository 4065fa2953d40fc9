# Owns the Windows zip, build/windows/quorvel-<version>-win64.zip (part of windows.cmake):
# quorvel.exe with every DLL it loads that Windows itself does not have (Qt's, the
# platform and style plugins, the MinGW runtime), stripped, and README.txt.
# Made by every build of the `windows` preset.

find_program(QUORVEL_OBJDUMP NAMES ${QUORVEL_MINGW_TRIPLET}-objdump objdump REQUIRED)
find_program(QUORVEL_STRIP NAMES ${QUORVEL_MINGW_TRIPLET}-strip strip REQUIRED)
find_package(Python3 REQUIRED COMPONENTS Interpreter)

configure_file(${CMAKE_CURRENT_LIST_DIR}/windows-README.txt.in
    ${CMAKE_BINARY_DIR}/zip/README.txt @ONLY NEWLINE_STYLE CRLF)

# The Fusion style is built into Qt's widgets; Qt on Windows still loads its
# native style plugin when it starts (qwindowsvistastyle in Qt 6.4,
# qmodernwindowsstyle in later ones), so that one goes along too.
file(GLOB QUORVEL_STYLE_PLUGINS RELATIVE ${QT6_INSTALL_PREFIX}/plugins
    ${QT6_INSTALL_PREFIX}/plugins/styles/*.dll)
set(QUORVEL_ZIP_PLUGINS platforms/qwindows.dll ${QUORVEL_STYLE_PLUGINS})

add_custom_command(OUTPUT ${QUORVEL_ZIP}
    COMMAND ${CMAKE_COMMAND}
        "-DEXE=$<TARGET_FILE:quorvel>"
        "-DQT_PREFIX=${QT6_INSTALL_PREFIX}"
        "-DPLUGINS=${QUORVEL_ZIP_PLUGINS}"
        "-DSEARCH=${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS};${QUORVEL_MINGW_RUNTIME_DIRS}"
        "-DREADME=${CMAKE_BINARY_DIR}/zip/README.txt"
        "-DOBJDUMP=${QUORVEL_OBJDUMP}" "-DSTRIP=${QUORVEL_STRIP}"
        "-DPYTHON=${Python3_EXECUTABLE}" "-DARCHIVE=${PROJECT_SOURCE_DIR}/tools/archive.py"
        "-DSTAGE=${CMAKE_BINARY_DIR}/${QUORVEL_ZIP_BASE}" "-DZIP=${QUORVEL_ZIP}"
        -P ${CMAKE_CURRENT_LIST_DIR}/windows-pack.cmake
    DEPENDS quorvel ${CMAKE_CURRENT_LIST_DIR}/windows-pack.cmake
            ${PROJECT_SOURCE_DIR}/tools/archive.py
            ${CMAKE_BINARY_DIR}/zip/README.txt
    COMMENT "Packing ${QUORVEL_ZIP_BASE}.zip"
    VERBATIM)
add_custom_target(windows_zip ALL DEPENDS ${QUORVEL_ZIP})
