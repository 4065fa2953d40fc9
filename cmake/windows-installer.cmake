# Owns the setup program beside the zip, build/windows/quorvel-<version>-win64-setup.exe
# (part of windows.cmake): the zip's folder, installed per user by an NSIS installer
# (cmake/NSIS.template.in) that CPack makes with Debian's makensis. Made by every build
# of the `windows` preset, after the zip.

find_program(QUORVEL_MAKENSIS makensis REQUIRED)

set(CPACK_GENERATOR NSIS)
set(CPACK_NSIS_EXECUTABLE ${QUORVEL_MAKENSIS})
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "${QUORVEL_PUBLISHER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUORVEL_HOMEPAGE}")
set(CPACK_PACKAGE_FILE_NAME ${QUORVEL_SETUP_BASE})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${QUORVEL_PRODUCT}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "${QUORVEL_SHORT_NAME}")
set(CPACK_NSIS_DISPLAY_NAME "${QUORVEL_PRODUCT}")
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_QUORVEL_ICON ${PROJECT_SOURCE_DIR}/assets/icons/quorvel.ico)
set(CPACK_QUORVEL_VERSION4 "${PROJECT_VERSION}.0")
set(CPACK_QUORVEL_COPYRIGHT "${QUORVEL_COPYRIGHT}")
# The files are the zip's folder as it is, stripped; the project's install rules
# play no part.
set(CPACK_INSTALL_CMAKE_PROJECTS "")
set(CPACK_INSTALLED_DIRECTORIES "${CMAKE_BINARY_DIR}/${QUORVEL_ZIP_BASE};.")
# CPack takes NSIS.template.in from here rather than its own, which installs for
# all users and needs administrator rights.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
include(CPack)

add_custom_command(OUTPUT ${QUORVEL_SETUP}
    COMMAND ${CMAKE_CPACK_COMMAND} -G NSIS --config ${CMAKE_BINARY_DIR}/CPackConfig.cmake
            -B ${CMAKE_BINARY_DIR}
    DEPENDS ${QUORVEL_ZIP} ${CMAKE_CURRENT_LIST_DIR}/NSIS.template.in ${CPACK_QUORVEL_ICON}
            ${CMAKE_BINARY_DIR}/CPackConfig.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Making ${QUORVEL_SETUP_BASE}.exe"
    VERBATIM)
add_custom_target(windows_installer ALL DEPENDS ${QUORVEL_SETUP})
