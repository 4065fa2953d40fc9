# Owns the game's facts as players, menus, stores and installers show them, stated
# once for the program (product.h), the packages, the page and the Windows resources.
# The version and its day are NEWS.md's (cmake/news.cmake).

set(QUORVEL_PRODUCT "Brinhalt's Quorvel")
set(QUORVEL_SHORT_NAME "Quorvel")
set(QUORVEL_APP_ID "org.example.quorvel")
set(QUORVEL_PUBLISHER "Brinhalt")
set(QUORVEL_MAINTAINER "${QUORVEL_PUBLISHER} <quorvel@example.org>")
set(QUORVEL_HOMEPAGE "https://quorvel.example.org/")
set(QUORVEL_COPYRIGHT "2026 ${QUORVEL_PUBLISHER}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/product.h.in ${CMAKE_BINARY_DIR}/product/product.h @ONLY)
add_library(quorvel_product INTERFACE)
target_include_directories(quorvel_product INTERFACE ${CMAKE_BINARY_DIR}/product)
