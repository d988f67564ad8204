# Runs the asset generator into a fresh directory and compares every file it writes, byte for byte,
# with the committed copy. Inputs: GENERATOR (executable), EXPECTED (committed folder), SCRATCH
# (a folder this script may wipe).
foreach(var GENERATOR EXPECTED SCRATCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "reproduce.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "asset_generator failed with ${result}")
endif()

file(GLOB generated RELATIVE "${SCRATCH}" "${SCRATCH}/*")
list(LENGTH generated count)
if(count EQUAL 0)
  message(FATAL_ERROR "asset_generator wrote no file")
endif()

set(mismatches "")
foreach(name IN LISTS generated)
  if(NOT EXISTS "${EXPECTED}/${name}")
    list(APPEND mismatches "${name} (not committed)")
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SCRATCH}/${name}" "${EXPECTED}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND mismatches "${name}")
  endif()
endforeach()

if(mismatches)
  string(REPLACE ";" ", " listed "${mismatches}")
  message(FATAL_ERROR "generated files differ from game/data: ${listed}; run scripts/generate-assets")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
message(STATUS "all ${count} generated files match game/data")
