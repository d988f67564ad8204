# Runs the asset generator into a fresh directory and compares every file it writes, byte for byte,
# with the committed copy, the level tile set picture included; a committed file it no longer writes
# (the room's data, say) is a mismatch too. Inputs: GENERATOR (executable),
# EXPECTED (committed folder), EXPECTED_TILESET (the committed tile set picture), SCRATCH (a folder
# this script may wipe).
foreach(var GENERATOR EXPECTED EXPECTED_TILESET SCRATCH)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "reproduce.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE "${SCRATCH}" "${SCRATCH}-tileset")
file(MAKE_DIRECTORY "${SCRATCH}" "${SCRATCH}-tileset")
set(tileset "${SCRATCH}-tileset/level_tiles.png")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH}" --tileset "${tileset}" RESULT_VARIABLE result)
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

file(GLOB committed RELATIVE "${EXPECTED}" "${EXPECTED}/*")
foreach(name IN LISTS committed)
  if(NOT EXISTS "${SCRATCH}/${name}")
    list(APPEND mismatches "${name} (no longer generated)")
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${tileset}" "${EXPECTED_TILESET}"
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
  list(APPEND mismatches "the level tile set")
endif()

if(mismatches)
  string(REPLACE ";" ", " listed "${mismatches}")
  message(FATAL_ERROR "generated files differ from game/data: ${listed}; run scripts/generate-assets")
endif()
file(REMOVE_RECURSE "${SCRATCH}" "${SCRATCH}-tileset")
message(STATUS "all ${count} generated files match game/data")
