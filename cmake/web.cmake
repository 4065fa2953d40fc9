# Owns the browser build (the `web` preset: Qt for WebAssembly with emscripten): the
# text face embedded, the round's wait made resumable, and the page, written with
# precompressed copies to QUORVEL_WEB_DIR by every build.

set(QUORVEL_WEB_DIR ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the browser build writes its page")

# A page has no system fonts: the face the game draws its text with comes along.
# (Debian 12 keeps Liberation 2 in liberation2/, Debian 13 in liberation/.)
foreach(dir /usr/share/fonts/truetype/liberation2 /usr/share/fonts/truetype/liberation)
    if(EXISTS ${dir}/LiberationSans-Regular.ttf)
        set(QUORVEL_TEXT_FACE_DIR ${dir})
        break()
    endif()
endforeach()
if(NOT QUORVEL_TEXT_FACE_DIR)
    message(FATAL_ERROR "LiberationSans-Regular.ttf not found: install fonts-liberation2 "
                        "(Debian 12) or fonts-liberation (Debian 13)")
endif()
foreach(doc /usr/share/doc/fonts-liberation2/copyright /usr/share/doc/fonts-liberation/copyright)
    if(EXISTS ${doc})
        set(QUORVEL_TEXT_FACE_LICENCE ${doc})
        break()
    endif()
endforeach()

# The functions Asyncify leaves alone, one pattern a line, without the comments.
set(QUORVEL_ASYNCIFY_REMOVE ${CMAKE_BINARY_DIR}/asyncify-remove.txt)
file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/asyncify-remove.txt patterns REGEX "^[^#]")
list(JOIN patterns "\n" patterns)
file(CONFIGURE OUTPUT ${QUORVEL_ASYNCIFY_REMOVE} CONTENT "${patterns}\n" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/cmake/asyncify-remove.txt)

# A program that runs in the page: the game, or the benchmark's build of it.
function(quorvel_web_program target)
    qt_add_resources(${target} "textface"
        PREFIX /quorvel/fonts
        BASE ${QUORVEL_TEXT_FACE_DIR}
        FILES ${QUORVEL_TEXT_FACE_DIR}/LiberationSans-Regular.ttf)
    # A static Qt links in every image-format plugin it has; the pictures are PNG,
    # which QtGui reads itself.
    qt_import_plugins(${target} EXCLUDE_BY_TYPE imageformats)
    # A round runs inside the "GO!" handler and waits in a loop that has to give the
    # browser its turn: Asyncify lets the wait suspend the whole call stack and resume.
    # The stack it saves runs from the page's event through Qt's dispatch to the wait.
    # Asyncify makes every function that might be on that stack able to unwind and
    # resume, which doubles the code; asyncify-remove.txt names the parts of Qt that
    # never are (drawing, text, images, codecs, widgets the game does not have), each
    # group with its reason in a comment, which the linker is not given.
    target_link_options(${target} PRIVATE
        "SHELL:-s ASYNCIFY=1"
        "SHELL:-s ASYNCIFY_STACK_SIZE=65536"
        "SHELL:-s ASYNCIFY_REMOVE=@${QUORVEL_ASYNCIFY_REMOVE}"
        -Oz)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${QUORVEL_ASYNCIFY_REMOVE})
endfunction()

# Writes the page for `target` into `site` (target `<target>_page`, built by default
# when ALL follows). The page passes `environment`, a JavaScript expression for an
# object, to the program's environment.
function(quorvel_web_page target site environment)
    set(page ${PROJECT_SOURCE_DIR}/assets/web/index.html.in)
    add_custom_command(OUTPUT ${site}/index.html
        COMMAND ${CMAKE_COMMAND}
            "-DBUILD=$<TARGET_FILE_DIR:${target}>"
            "-DPROGRAM=${target}"
            "-DPAGE=${page}"
            "-DQUORVEL_PAGE_ENVIRONMENT=${environment}"
            "-DQUORVEL_VERSION=${PROJECT_VERSION}"
            "-DQUORVEL_PRODUCT=${QUORVEL_PRODUCT}"
            "-DQUORVEL_SHORT_NAME=${QUORVEL_SHORT_NAME}"
            "-DLOADER=${QT6_INSTALL_PREFIX}/plugins/platforms/qtloader.js"
            "-DICON=${PROJECT_SOURCE_DIR}/assets/icons/quorvel-64.png"
            "-DLICENCE=${QUORVEL_TEXT_FACE_LICENCE}"
            "-DSITE=${site}"
            -P ${PROJECT_SOURCE_DIR}/cmake/web-site.cmake
        DEPENDS ${target} ${page} ${PROJECT_SOURCE_DIR}/cmake/web-site.cmake
            ${PROJECT_SOURCE_DIR}/assets/web/sw.js.in ${PROJECT_SOURCE_DIR}/assets/web/manifest.webmanifest.in
        COMMENT "Writing the page of ${target} to ${site}"
        VERBATIM)
    add_custom_target(${target}_page ${ARGN} DEPENDS ${site}/index.html)
endfunction()

quorvel_web_program(quorvel)
quorvel_web_page(quorvel ${QUORVEL_WEB_DIR} "{}" ALL)
