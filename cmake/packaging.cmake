# Owns the Debian package, and the installation it packs: the game the way a desktop
# expects it (program, menu entry, icons, AppStream metainfo, manual page), made into
# a Debian package with CPack.
#
# `cmake --install` puts the program in bin/. The Debian package puts it in
# /usr/games instead, where Debian keeps games, by installing it a second time
# from the component `debian-games` that only CPack asks for.

include(GNUInstallDirs)

find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(quorvel_pkg_dir ${CMAKE_CURRENT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${quorvel_pkg_dir})

# gzip -n leaves out the name and time stamp, so the package is reproducible.
function(quorvel_gzip input output)
    execute_process(COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${input}
        OUTPUT_FILE ${output} COMMAND_ERROR_IS_FATAL ANY)
endfunction()

install(TARGETS quorvel
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program
    BUNDLE DESTINATION . COMPONENT program)
install(TARGETS quorvel
    RUNTIME DESTINATION games COMPONENT debian-games EXCLUDE_FROM_ALL)

# The menu entry, the metainfo and the manual page name the game, its version and its
# release from cmake/product.cmake.
configure_file(${PROJECT_SOURCE_DIR}/assets/quorvel.desktop.in
    ${quorvel_pkg_dir}/${QUORVEL_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/assets/quorvel.metainfo.xml.in
    ${quorvel_pkg_dir}/${QUORVEL_APP_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/assets/quorvel.6.in ${quorvel_pkg_dir}/quorvel.6 @ONLY)

install(FILES ${quorvel_pkg_dir}/${QUORVEL_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT data)
install(FILES ${quorvel_pkg_dir}/${QUORVEL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT data)
foreach(size IN ITEMS 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/quorvel-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME quorvel.png COMPONENT data)
endforeach()

quorvel_gzip(${quorvel_pkg_dir}/quorvel.6 ${quorvel_pkg_dir}/quorvel.6.gz)
install(FILES ${quorvel_pkg_dir}/quorvel.6.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT data)

# Debian wants the licence terms and a changelog next to every package.
file(CONFIGURE OUTPUT ${quorvel_pkg_dir}/copyright @ONLY CONTENT [[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: @PROJECT_NAME@
Upstream-Contact: @QUORVEL_MAINTAINER@
Source: @QUORVEL_HOMEPAGE@

Files: *
Copyright: @QUORVEL_COPYRIGHT@
License: GPL-3+

Files: assets/quorvel.metainfo.xml.in
Copyright: @QUORVEL_COPYRIGHT@
License: CC0-1.0

License: GPL-3+
 This program is free software: you can redistribute it and/or modify
 it under the terms of the GNU General Public License as published by
 the Free Software Foundation, either version 3 of the License, or
 (at your option) any later version.
 .
 This program is distributed in the hope that it will be useful,
 but WITHOUT ANY WARRANTY; without even the implied warranty of
 MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE.  See the
 GNU General Public License for more details.
 .
 On Debian systems, the complete text of the GNU General Public License
 version 3 can be found in "/usr/share/common-licenses/GPL-3".

License: CC0-1.0
 To the extent possible under law, the author has waived all copyright
 and related or neighboring rights to this metadata file.
 .
 On Debian systems, the complete text of the CC0 1.0 Universal licence
 can be found in "/usr/share/common-licenses/CC0-1.0".
]])

quorvel_news_changelog(${PROJECT_NAME} "${QUORVEL_MAINTAINER}" ${quorvel_pkg_dir}/changelog)
quorvel_gzip(${quorvel_pkg_dir}/changelog ${quorvel_pkg_dir}/changelog.gz)
install(FILES ${quorvel_pkg_dir}/copyright ${quorvel_pkg_dir}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT data)

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "quorvel")
set(CPACK_PACKAGE_VENDOR "${QUORVEL_PUBLISHER}")
set(CPACK_PACKAGE_CONTACT "${QUORVEL_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reflex game: click the wandering picture")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUORVEL_HOMEPAGE}")
# GPL-3.0-or-later, for the code and the pictures alike.
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/COPYING")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL debian-games data)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE
    GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "games")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUORVEL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The game draws its classic dialog face with Liberation Sans 2: Debian 12 has it
# as fonts-liberation2, Debian 13 as fonts-liberation.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation (>= 1:2.1) | fonts-liberation2")
# Qt's Wayland plugin: without it the game cannot start in a session without X.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
string(CONFIGURE [[
@QUORVEL_PRODUCT@ shows a picture that wanders about its window by itself.
Pick a speed (EASY, MEDIUM or INSANITY), press GO! and click the picture as
often as you can in ten seconds; a one-line verdict rates the result.

The game comes with 57 pictures to chase.]] CPACK_DEBIAN_PACKAGE_DESCRIPTION @ONLY)

include(CPack)
