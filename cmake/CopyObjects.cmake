cmake_policy(SET CMP0057 NEW)
# Copies the delivered translation units (by base name) out of an object list.
# Inputs: OBJECTS (paths joined by '|'), NAMES (base names joined by '|'), DEST (directory).
string(REPLACE "|" ";" objects "${OBJECTS}")
string(REPLACE "|" ";" names "${NAMES}")
file(MAKE_DIRECTORY "${DEST}")
foreach(object IN LISTS objects)
  get_filename_component(file "${object}" NAME)
  string(REGEX REPLACE "\\.(cpp|cc)\\.o$" "" base "${file}")
  if(base IN_LIST names)
    file(COPY_FILE "${object}" "${DEST}/${base}.o" ONLY_IF_DIFFERENT)
  endif()
endforeach()
