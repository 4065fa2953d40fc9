# Owns what keeps the build machine out of the binaries when a build is meant to be
# rebuilt bit for bit: a release (tools/release.sh) sets SOURCE_DATE_EPOCH to its
# commit's time, and Qt's resource compiler, the archives and the installers take their
# times from it. Here: the source folder's path (and with it the build folder's, which
# lies inside it) is written as a relative one, and MinGW's linker leaves the time
# stamp out of the Windows programs' headers.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=)
    if(MINGW)
        add_link_options(-Wl,--no-insert-timestamp)
    endif()
endif()
