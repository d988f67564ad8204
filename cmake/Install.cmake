# What `cmake --install` puts where, relative to the prefix:
#   bin/stagewalk                      the launcher a player runs (packaging/stagewalk.in)
#   bin/stagewalk-check, -level        the modding tools, when they are built
#   libexec/stagewalk/stagewalk        the program itself, started by the launcher in the user's folder
#   share/games/stagewalk/             the shipped game folder (config.tml, shaders/, data/), read-only
#   share/applications, share/icons    the desktop entry and its icon
#   share/doc/stagewalk/               README and the modding, levels and architecture pages
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

# The icon is generated into game/data beside the textures, but the game never reads it.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/game/ DESTINATION ${STAGEWALK_INSTALL_GAMEDIR}
  FILE_PERMISSIONS OWNER_READ GROUP_READ WORLD_READ
  DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE
  REGEX "/data/icon\\.png$" EXCLUDE)

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
install(FILES ${PROJECT_SOURCE_DIR}/game/data/icon.png
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/128x128/apps RENAME stagewalk.png)
# README with the pages and the picture it links to, so its links hold in the installed copy too.
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/modding.md ${PROJECT_SOURCE_DIR}/docs/levels.md
  ${PROJECT_SOURCE_DIR}/docs/architecture.md ${PROJECT_SOURCE_DIR}/docs/screenshot.png
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/examples DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
