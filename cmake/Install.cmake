# What `cmake --install` puts where, relative to the prefix:
#   bin/stagewalk                      the launcher a player runs (packaging/stagewalk.in); the Debian
#                                      package moves it to games/ (cmake/DebStaging.cmake)
#   bin/stagewalk-check, -level        the modding tools, when they are built
#   libexec/stagewalk/stagewalk        the program itself, started by the launcher in the user's folder
#   share/games/stagewalk/             the shipped game folder (config.tml, shaders/, data/) and the
#                                      tile maps its rooms are built from with their tile set (levels/)
#   share/man/man1, man6               the manual pages of the three programs, compressed
#   share/applications, share/icons    the desktop entry and its icon
#   share/metainfo                     the AppStream description software centres show
#   share/doc/stagewalk/               README, the modding, levels and architecture pages, the copyright
# The game folder sits under share/games so that a per-user install (prefix ~/.local) never shares a
# path with the player's own folder, ${XDG_DATA_HOME:-~/.local/share}/stagewalk.
include(GNUInstallDirs)

set(STAGEWALK_INSTALL_GAMEDIR "${CMAKE_INSTALL_DATADIR}/games/stagewalk" CACHE STRING
    "Where the shipped game folder goes, relative to the prefix")
set(STAGEWALK_INSTALL_PROGRAMDIR "${CMAKE_INSTALL_LIBEXECDIR}/stagewalk" CACHE STRING
    "Where the program goes, relative to the prefix (players start it through bin/stagewalk)")

# stagewalk_programs builds just what gets installed (scripts/package builds no more than that).
add_custom_target(stagewalk_programs)
add_dependencies(stagewalk_programs stagewalk)
install(TARGETS stagewalk RUNTIME DESTINATION ${STAGEWALK_INSTALL_PROGRAMDIR})
foreach(tool stagewalk_check stagewalk_level stagewalk-level)
  if(TARGET ${tool})
    add_dependencies(stagewalk_programs ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The icon is generated into game/data beside the textures: the window shows it, and the desktop
# entry's copy (share/icons) is the same file. Files are
# 0644: an installed folder is read-only to players by its owner, and a player's copy of it is theirs
# to edit. The level maps travel inside the game folder, so a copy of the folder holds the maps whose
# rooms it plays, and it stays where a minimal system's dpkg filters (which drop share/doc) leave it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/game/ DESTINATION ${STAGEWALK_INSTALL_GAMEDIR})
file(GLOB level_maps ${PROJECT_SOURCE_DIR}/tools/levels/*.tmx)
install(FILES ${level_maps} ${PROJECT_SOURCE_DIR}/tools/levels/level_tiles.png
  DESTINATION ${STAGEWALK_INSTALL_GAMEDIR}/levels)

# The launcher finds the program and the game folder relative to itself, so an installed tree can be
# moved or unpacked anywhere (the package test runs it from a scratch root).
foreach(dir GAMEDIR PROGRAMDIR)
  cmake_path(ABSOLUTE_PATH STAGEWALK_INSTALL_${dir} BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}"
             OUTPUT_VARIABLE full_${dir})
endforeach()
file(RELATIVE_PATH STAGEWALK_LAUNCHER_TO_GAME "${CMAKE_INSTALL_FULL_BINDIR}" "${full_GAMEDIR}")
file(RELATIVE_PATH STAGEWALK_LAUNCHER_TO_PROGRAM "${CMAKE_INSTALL_FULL_BINDIR}" "${full_PROGRAMDIR}/stagewalk")
configure_file(${PROJECT_SOURCE_DIR}/packaging/stagewalk.in ${PROJECT_BINARY_DIR}/launcher/stagewalk @ONLY)
install(PROGRAMS ${PROJECT_BINARY_DIR}/launcher/stagewalk DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/stagewalk.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${PROJECT_SOURCE_DIR}/packaging/stagewalk.metainfo.xml
  ${PROJECT_BINARY_DIR}/packaging/org.example.stagewalk.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/org.example.stagewalk.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, compressed as Debian ships them (-n: no name or time stamp, so builds are identical).
set(man_pages stagewalk.6 stagewalk-check.1 stagewalk-level.1)
set(compressed_pages)
foreach(page ${man_pages})
  string(REGEX REPLACE ".*\\." "" section ${page})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/man/${page} ${PROJECT_BINARY_DIR}/packaging/man/${page} @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/man/${page}.gz
    COMMAND gzip -9n -c ${PROJECT_BINARY_DIR}/packaging/man/${page} > ${PROJECT_BINARY_DIR}/packaging/man/${page}.gz
    DEPENDS ${PROJECT_BINARY_DIR}/packaging/man/${page} VERBATIM)
  list(APPEND compressed_pages ${PROJECT_BINARY_DIR}/packaging/man/${page}.gz)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(stagewalk_man_pages ALL DEPENDS ${compressed_pages})
add_dependencies(stagewalk_programs stagewalk_man_pages)
install(FILES ${PROJECT_SOURCE_DIR}/game/data/icon.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME stagewalk.png)
# README with the pages and the picture it links to, so its links hold in the installed copy too.
# Installed, the licence is the copyright file beside the README, so its link is pointed there.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.md)
file(READ ${PROJECT_SOURCE_DIR}/README.md readme)
string(REPLACE "](LICENSE)" "](copyright)" readme "${readme}")
file(WRITE ${PROJECT_BINARY_DIR}/packaging/README.md "${readme}")
install(FILES ${PROJECT_BINARY_DIR}/packaging/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/modding.md ${PROJECT_SOURCE_DIR}/docs/levels.md
  ${PROJECT_SOURCE_DIR}/docs/architecture.md ${PROJECT_SOURCE_DIR}/docs/screenshot.png
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
