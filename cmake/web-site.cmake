# Writes the page of the browser build's PROGRAM into SITE: index.html (with the size
# of its .wasm, for the loading progress), its .js and .wasm, Qt's loader, the icon,
# the text face's licence, and a gzip copy of every file worth compressing, which a
# server can send as it is to browsers that take gzip.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})

file(SIZE ${BUILD}/${PROGRAM}.wasm QUORVEL_WASM_BYTES)
set(QUORVEL_PROGRAM ${PROGRAM})
configure_file(${PAGE} ${SITE}/index.html @ONLY)
file(COPY ${BUILD}/${PROGRAM}.js ${BUILD}/${PROGRAM}.wasm ${LOADER} DESTINATION ${SITE})
file(COPY_FILE ${ICON} ${SITE}/favicon.png)
if(LICENCE)
    file(COPY_FILE ${LICENCE} ${SITE}/LiberationSans-LICENSE.txt)
endif()

find_program(GZIP gzip REQUIRED)
foreach(name index.html ${PROGRAM}.js ${PROGRAM}.wasm qtloader.js)
    # -n leaves out the name and time, so the same build gives the same bytes.
    execute_process(COMMAND ${GZIP} -9 -n -k -f ${SITE}/${name} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
