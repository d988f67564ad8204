# The Debian package: the install rules of cmake/Install.cmake under /usr, stripped, with its library
# dependencies worked out from the binaries by dpkg-shlibdeps (from dpkg-dev). scripts/package makes it.
set(STAGEWALK_MAINTAINER "stagewalk developers <stagewalk@example.org>" CACHE STRING
    "The package's Maintainer field: a name and an address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stagewalk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "stagewalk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small first-person 3-D game: explore a rooftop level at night")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STAGEWALK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack puts the summary first and formats the long text for dpkg (indents, paragraph marks).
set(CPACK_PACKAGE_DESCRIPTION "stagewalk is a small first-person 3-D game on a thin OpenGL engine. Walk a lit,
fogged rooftop level under a night sky with a city skyline around it: a
terrace, a courtyard below it, a tower of platforms to climb and a narrow
walkway over the void. Fall off an edge and you respawn. The picture is drawn into a
320 x 240 canvas and magnified for a crisp retro look.

Start it from the menu or as `stagewalk`; each player's settings live in
~/.local/share/stagewalk/config.tml. stagewalk-check checks edited settings
and assets; stagewalk-level builds the room from a tile map.")

include(CPack)
