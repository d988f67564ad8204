# Debian's hardening flags for everything the project compiles (fortify, stack protector, format
# checks, full RELRO with immediate binding), as dpkg-buildflags gives them, so that the installed
# programs are built the way Debian builds its own packages. Only the hardening flags are taken: the
# build type keeps its own optimisation and debug flags. Sanitizer and fuzz builds turn it off
# (their runtimes replace what fortify checks), and a Debug build drops fortify, which needs -O1 or more.
option(STAGEWALK_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
if(NOT STAGEWALK_HARDENING OR STAGEWALK_FUZZ)
  return()
endif()
find_program(STAGEWALK_DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT STAGEWALK_DPKG_BUILDFLAGS)
  message(STATUS "dpkg-buildflags not found (dpkg-dev): building without Debian's hardening flags")
  return()
endif()

function(stagewalk_buildflags kind out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                          ${STAGEWALK_DPKG_BUILDFLAGS} --get ${kind}
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

stagewalk_buildflags(CPPFLAGS cppflags)
stagewalk_buildflags(CXXFLAGS cxxflags)
stagewalk_buildflags(LDFLAGS ldflags)
# -O and -g belong to the build type, -ffile-prefix-map to the folder dpkg-buildflags ran in.
list(FILTER cxxflags EXCLUDE REGEX "^-(O.*|g.*|ffile-prefix-map=.*)$")
foreach(flag IN LISTS cppflags cxxflags)
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  else()
    add_compile_options(${flag})
  endif()
endforeach()
add_link_options(${ldflags})
