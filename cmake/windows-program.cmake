# Owns what Windows shows of quorvel.exe itself (part of windows.cmake): its icon
# (assets/icons/quorvel.ico, made by tools/make_program_icons.py) and its version
# information, as a resource script compiled by MinGW's windres into the program.
enable_language(RC)

set(QUORVEL_ICO ${PROJECT_SOURCE_DIR}/assets/icons/quorvel.ico)
# FILEVERSION wants four numbers: 1.0.0 -> 1,0,0,0.
set(QUORVEL_RC_VERSION ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        string(APPEND QUORVEL_RC_VERSION ",0")
    else()
        string(APPEND QUORVEL_RC_VERSION ",${PROJECT_VERSION_${part}}")
    endif()
endforeach()

configure_file(${CMAKE_CURRENT_LIST_DIR}/quorvel.rc.in ${CMAKE_BINARY_DIR}/quorvel.rc @ONLY)
target_sources(quorvel PRIVATE ${CMAKE_BINARY_DIR}/quorvel.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/quorvel.rc PROPERTIES
    OBJECT_DEPENDS ${QUORVEL_ICO})
