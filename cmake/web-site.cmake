# Writes the page of the browser build's PROGRAM into SITE: index.html (with the size
# of its .wasm, for the loading progress), its .js and .wasm, Qt's loader, the icons,
# the app manifest, the text face's licence, the service worker that keeps them all
# for offline play, and a brotli and a gzip copy of every file worth compressing,
# which a server can send as they are to browsers that take them.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE})
get_filename_component(WEB_ASSETS ${PAGE} DIRECTORY)
get_filename_component(ICONS ${ICON} DIRECTORY)

file(SIZE ${BUILD}/${PROGRAM}.wasm QUORVEL_WASM_BYTES)
set(QUORVEL_PROGRAM ${PROGRAM})
configure_file(${PAGE} ${SITE}/index.html @ONLY)
file(COPY ${BUILD}/${PROGRAM}.js ${BUILD}/${PROGRAM}.wasm ${LOADER} DESTINATION ${SITE})
file(COPY_FILE ${ICON} ${SITE}/favicon.png)
set(icons quorvel-192.png quorvel-512.png quorvel-maskable-192.png quorvel-maskable-512.png)
foreach(icon ${icons})
    file(COPY_FILE ${ICONS}/${icon} ${SITE}/${icon})
endforeach()
configure_file(${WEB_ASSETS}/manifest.webmanifest.in ${SITE}/manifest.webmanifest @ONLY)
set(packed index.html ${PROGRAM}.js ${PROGRAM}.wasm qtloader.js manifest.webmanifest)
if(LICENCE)
    file(COPY_FILE ${LICENCE} ${SITE}/LiberationSans-LICENSE.txt)
    list(APPEND packed LiberationSans-LICENSE.txt)
endif()

# The service worker: every file with its SHA-256, and a cache named after a hash of
# them all and of the worker itself, so that any change to the page names a new cache.
set(QUORVEL_FILES "")
set(sums "")
foreach(name ${packed} favicon.png ${icons})
    file(SHA256 ${SITE}/${name} sum)
    string(APPEND QUORVEL_FILES "  \"${name}\": \"${sum}\",\n")
    string(APPEND sums "${name} ${sum}\n")
endforeach()
file(SHA256 ${WEB_ASSETS}/sw.js.in sum)
string(SHA256 build "${sums}sw.js.in ${sum}\n")
string(SUBSTRING ${build} 0 16 QUORVEL_BUILD)
configure_file(${WEB_ASSETS}/sw.js.in ${SITE}/sw.js @ONLY)

find_program(GZIP gzip REQUIRED)
find_program(BROTLI brotli REQUIRED)
foreach(name ${packed} sw.js)
    # -n leaves out the name and time, so the same build gives the same bytes
    # (brotli's format has neither).
    execute_process(COMMAND ${GZIP} -9 -n -k -f ${SITE}/${name} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${BROTLI} -q 11 -k -f ${SITE}/${name} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
