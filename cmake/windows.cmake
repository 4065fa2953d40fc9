# Owns the Windows build (the `windows` preset, cross-compiled with MinGW-w64): its
# tests run under Wine, quorvel.exe's icon and version resources, the zip for players
# and the setup program beside it.

set(QUORVEL_ZIP_BASE quorvel-${PROJECT_VERSION}-win64)
set(QUORVEL_ZIP ${CMAKE_BINARY_DIR}/${QUORVEL_ZIP_BASE}.zip)
set(QUORVEL_SETUP_BASE quorvel-${PROJECT_VERSION}-win64-setup)
set(QUORVEL_SETUP ${CMAKE_BINARY_DIR}/${QUORVEL_SETUP_BASE}.exe)

# ctest runs the Windows programs through Wine.
set(QUORVEL_WINEPATH)
foreach(dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    if(NOT IS_ABSOLUTE "${found}")
        message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
    endif()
    get_filename_component(dir "${found}" DIRECTORY)
    list(APPEND QUORVEL_MINGW_RUNTIME_DIRS "${dir}")
endforeach()
list(REMOVE_DUPLICATES QUORVEL_MINGW_RUNTIME_DIRS)
foreach(dir ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS} ${QUORVEL_MINGW_RUNTIME_DIRS})
    string(REPLACE "/" "\\" dir "Z:${dir}")
    list(APPEND QUORVEL_WINEPATH "${dir}")
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/tests/windows/wine-run.sh.in
    ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY FILE_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

include(${CMAKE_CURRENT_LIST_DIR}/windows-program.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/windows-zip.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/windows-installer.cmake)
