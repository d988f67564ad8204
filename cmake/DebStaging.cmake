# Run by CPack on the Debian package's staged tree, after the install rules and before the archive
# is made: what Debian asks of a game package beyond what `cmake --install` does.
#   - The launcher goes to /usr/games, where Debian keeps games' commands (and which is on players'
#     PATH); from there it finds the program and the game folder by the same relative paths as from
#     /usr/bin.
#   - /usr/share/doc/stagewalk/changelog.Debian.gz, made from packaging/changelog.in.
#   - lintian's overrides (packaging/lintian-overrides): its readings that are known to be wrong.
#   - The binaries lose the .comment and .note sections that the install's strip leaves (the
#     compiler's version strings and build notes), as Debian's dh_strip removes them.
# CPack gives the staged tree's top as CPACK_TEMPORARY_INSTALL_DIRECTORY; Package.cmake passes the rest.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr")
if(NOT EXISTS "${usr}/bin/stagewalk")
  message(FATAL_ERROR "DebStaging: no launcher at ${usr}/bin/stagewalk")
endif()
file(MAKE_DIRECTORY "${usr}/games")
file(RENAME "${usr}/bin/stagewalk" "${usr}/games/stagewalk")

set(changelog "${usr}/share/doc/stagewalk/changelog.Debian")
set(STAGEWALK_DEB_VERSION "${CPACK_STAGEWALK_DEB_VERSION}")
set(STAGEWALK_MAINTAINER "${CPACK_STAGEWALK_MAINTAINER}")
configure_file("${CPACK_STAGEWALK_SOURCE_DIR}/packaging/changelog.in" "${changelog}" @ONLY)
execute_process(COMMAND gzip -9n "${changelog}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "DebStaging: gzip failed on ${changelog}")
endif()

file(MAKE_DIRECTORY "${usr}/share/lintian/overrides")
file(COPY_FILE "${CPACK_STAGEWALK_SOURCE_DIR}/packaging/lintian-overrides" "${usr}/share/lintian/overrides/stagewalk")

# The programs, found by what they are rather than by a list that could miss one.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${usr}/*")
foreach(path IN LISTS staged)
  file(READ "${path}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46" AND NOT IS_SYMLINK "${path}")
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note "${path}"
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "DebStaging: strip failed on ${path}")
    endif()
  endif()
endforeach()
