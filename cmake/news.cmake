# Owns the version: the newest section of NEWS.md, "## 1.0.0 (2026-12-07)", gives the
# version (QUORVEL_VERSION, for project()) and the day it came out
# (QUORVEL_RELEASE_DATE). Included before project(); quorvel_news_changelog() writes
# the sections as Debian's changelog. `cmake -P cmake/news.cmake` prints the version.

set(QUORVEL_NEWS ${CMAKE_CURRENT_LIST_DIR}/../NEWS.md)
if(NOT CMAKE_SCRIPT_MODE_FILE)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QUORVEL_NEWS})
endif()
set(quorvel_news_heading "^## ([0-9]+\\.[0-9]+\\.[0-9]+) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")

file(STRINGS ${QUORVEL_NEWS} quorvel_newest REGEX "${quorvel_news_heading}" LIMIT_COUNT 1)
if(NOT quorvel_newest)
    message(FATAL_ERROR "NEWS.md: no section heading \"## <version> (<YYYY-MM-DD>)\"")
endif()
string(REGEX REPLACE "${quorvel_news_heading}" "\\1" QUORVEL_VERSION "${quorvel_newest}")
string(REGEX REPLACE "${quorvel_news_heading}" "\\2" QUORVEL_RELEASE_DATE "${quorvel_newest}")
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${QUORVEL_VERSION}")
    return()
endif()

# Debian's changelog dates each entry the way e-mail does, "Mon, 07 Dec 2026".
function(quorvel_mail_date iso out)
    string(REPLACE "-" ";" parts ${iso})
    list(GET parts 0 year)
    list(GET parts 1 month)
    list(GET parts 2 day)
    set(names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    math(EXPR index "${month} - 1")
    list(GET names ${index} name)
    # The day of the week by Sakamoto's method, counted from Sunday.
    set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    list(GET offsets ${index} offset)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
    set(days Sun Mon Tue Wed Thu Fri Sat)
    list(GET days ${weekday} weekday)
    set(${out} "${weekday}, ${day} ${name} ${year}" PARENT_SCOPE)
endfunction()

# Every section of NEWS.md as an entry of Debian's changelog, into the file `out`:
# "- " items become "  * " ones and their indented lines follow them.
function(quorvel_news_changelog package maintainer out)
    file(STRINGS ${QUORVEL_NEWS} lines)
    set(text "")
    set(closing "")
    foreach(line IN LISTS lines)
        if(line MATCHES "${quorvel_news_heading}")
            quorvel_mail_date(${CMAKE_MATCH_2} day)
            string(APPEND text "${closing}${package} (${CMAKE_MATCH_1}) unstable; urgency=medium\n\n")
            set(closing "\n -- ${maintainer}  ${day} 10:00:00 +0000\n\n")
        elseif(closing AND line MATCHES "^- (.*)")
            string(APPEND text "  * ${CMAKE_MATCH_1}\n")
        elseif(closing AND line MATCHES "^  +(.*)")
            string(APPEND text "    ${CMAKE_MATCH_1}\n")
        endif()
    endforeach()
    string(REGEX REPLACE "\n\n$" "\n" text "${text}${closing}")
    file(WRITE ${out} "${text}")
endfunction()
