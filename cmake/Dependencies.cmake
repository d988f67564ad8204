# Finds the Debian packages the layers build against (each layer links only its own, see CMakeLists.txt).
find_package(OpenGL REQUIRED)
find_package(glfw3 3.2 REQUIRED)
find_package(GLEW REQUIRED)
find_package(glm REQUIRED)
find_package(tinyobjloader REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)  # the image screening inflates PNG streams; tests and benchmarks deflate
find_package(OpenAL REQUIRED)  # OpenAL Soft: the audio device, its buffers and voices

find_path(SOIL_INCLUDE_DIR SOIL/SOIL.h REQUIRED)
find_library(SOIL_LIBRARY SOIL REQUIRED)
find_path(RAPIDXML_INCLUDE_DIR rapidxml/rapidxml.hpp REQUIRED)
find_path(SNDFILE_INCLUDE_DIR sndfile.h REQUIRED)
find_library(SNDFILE_LIBRARY sndfile REQUIRED)

# The three libraries Debian ships without a CMake package.
add_library(stagewalk_soil INTERFACE)
add_library(stagewalk::soil ALIAS stagewalk_soil)
target_include_directories(stagewalk_soil SYSTEM INTERFACE ${SOIL_INCLUDE_DIR})
target_link_libraries(stagewalk_soil INTERFACE ${SOIL_LIBRARY})
add_library(stagewalk_rapidxml INTERFACE)
add_library(stagewalk::rapidxml ALIAS stagewalk_rapidxml)
target_include_directories(stagewalk_rapidxml SYSTEM INTERFACE ${RAPIDXML_INCLUDE_DIR})
add_library(stagewalk_sndfile INTERFACE)
add_library(stagewalk::sndfile ALIAS stagewalk_sndfile)
target_include_directories(stagewalk_sndfile SYSTEM INTERFACE ${SNDFILE_INCLUDE_DIR})
target_link_libraries(stagewalk_sndfile INTERFACE ${SNDFILE_LIBRARY})
# glm's experimental extensions (quaternion helpers, string casts) are used in tests.
add_compile_definitions(GLM_ENABLE_EXPERIMENTAL)
