# The layer rules, read from the includes of src/: the game and the readers include no OpenGL or
# GLFW header, the engine includes nothing of the game, the readers nothing of the engine or the
# game, and the common helpers nothing of any other layer. OpenAL and libsndfile are the audio
# layer's alone, and it includes nothing else of the engine.
set(gl_headers "GL/|GLFW/")
set(audio_headers "al\\.h|alc\\.h|alext\\.h|efx\\.h|AL/|sndfile")
set(game_headers "application/|collision/")
set(engine_headers "engine/")
set(reader_headers "markup/|tmxparser/|imagecheck/")
# folder under src/ -> what it must not include
set(rules
  "application|${gl_headers}|${audio_headers}"
  "collision|${gl_headers}|${engine_headers}|${audio_headers}"
  "common|${gl_headers}|${engine_headers}|${game_headers}|${reader_headers}|${audio_headers}"
  "markup|${gl_headers}|${engine_headers}|${game_headers}|${audio_headers}"
  "tmxparser|${gl_headers}|${engine_headers}|${game_headers}|${audio_headers}"
  "imagecheck|${gl_headers}|${engine_headers}|${game_headers}|${audio_headers}"
  "engine|${game_headers}"
  "engine/core|${audio_headers}"
  "engine/camera|${audio_headers}"
  "engine/graphics|${audio_headers}"
  "engine/assets|${audio_headers}"
  "engine/audio|${gl_headers}|engine/assets/|engine/graphics/|engine/core/|engine/camera/")

set(broken 0)
foreach(rule IN LISTS rules)
  string(REPLACE "|" ";" parts "${rule}")
  list(POP_FRONT parts folder)
  list(JOIN parts "|" forbidden)
  file(GLOB_RECURSE files "${SOURCE_DIR}/src/${folder}/*.h" "${SOURCE_DIR}/src/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](${forbidden})")
    foreach(line IN LISTS includes)
      file(RELATIVE_PATH where "${SOURCE_DIR}" "${file}")
      message("${where}: ${line}: src/${folder}/ may not include this")
      math(EXPR broken "${broken} + 1")
    endforeach()
  endforeach()
endforeach()
if(broken GREATER 0)
  message(FATAL_ERROR "${broken} include(s) cross a layer boundary")
endif()
