# The Debian package: the install rules of cmake/Install.cmake under /usr, stripped, with its library
# dependencies worked out from the binaries by dpkg-shlibdeps (from dpkg-dev), then made Debian's
# way by cmake/DebStaging.cmake (launcher in /usr/games, changelog). scripts/package makes it.
set(STAGEWALK_MAINTAINER "stagewalk developers <stagewalk@example.org>" CACHE STRING
    "The package's Maintainer field: a name and an address")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stagewalk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# Packaged by the upstream developers, but not as a Debian-native package: revision 1 of 1.0.0.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_PACKAGE_VENDOR "stagewalk developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small first-person 3-D game: explore a rooftop level at night")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${STAGEWALK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# GLFW opens these libraries with dlopen, so dpkg-shlibdeps cannot see them. Without libXcursor the
# captured cursor stays visible over the game, which breaks its mouse look: a Depends. Without the
# others the game still plays (fullscreen keeps the desktop's mode, no raw mouse motion, no gamma):
# Recommends, which apt installs by default. OpenAL Soft (a Depends through dpkg-shlibdeps) opens its
# outputs the same way: without libpulse0 (PulseAudio, and PipeWire through its Pulse server) or
# libasound2 (ALSA) the game plays silently, so they are Recommends too.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxcursor1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libxrandr2, libxinerama1, libxi6, libxxf86vm1, libpulse0, libasound2")
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/DebStaging.cmake)
# What DebStaging.cmake reads: CPack hands only CPACK_* variables on to it.
set(CPACK_STAGEWALK_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_STAGEWALK_DEB_VERSION "${PROJECT_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
set(CPACK_STAGEWALK_MAINTAINER "${STAGEWALK_MAINTAINER}")
# CPack puts the summary first and formats the long text for dpkg (indents, paragraph marks).
set(CPACK_PACKAGE_DESCRIPTION "stagewalk is a small first-person 3-D game on a thin OpenGL engine.
Walk a lit, fogged rooftop level under a night sky with a city skyline
around it: a terrace, a courtyard below it, a tower of platforms to climb
and a narrow walkway over the void. Fall off an edge and you respawn. The
picture is drawn into a 320 x 240 canvas and magnified for a retro look.

Start it from the menu or as stagewalk; each player's settings live in
~/.local/share/stagewalk/config.tml. The game is made to be changed:
stagewalk --game DIR plays a copy of the game folder as it stands,
stagewalk-level builds its room from a tile map and stagewalk-check checks
its settings and assets.")

include(CPack)
