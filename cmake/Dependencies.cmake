# Finds the Debian packages the engine builds against and bundles them as stagewalk::deps.
find_package(OpenGL REQUIRED)
find_package(glfw3 3.2 REQUIRED)
find_package(GLEW REQUIRED)
find_package(glm REQUIRED)
find_package(tinyobjloader REQUIRED)
find_package(Threads REQUIRED)
find_package(ZLIB REQUIRED)  # the image screening inflates PNG streams; tests and benchmarks deflate

find_path(SOIL_INCLUDE_DIR SOIL/SOIL.h REQUIRED)
find_library(SOIL_LIBRARY SOIL REQUIRED)
find_path(RAPIDXML_INCLUDE_DIR rapidxml/rapidxml.hpp REQUIRED)

add_library(stagewalk_deps INTERFACE)
add_library(stagewalk::deps ALIAS stagewalk_deps)
target_include_directories(stagewalk_deps SYSTEM INTERFACE ${SOIL_INCLUDE_DIR} ${RAPIDXML_INCLUDE_DIR})
target_link_libraries(stagewalk_deps INTERFACE
  glfw GLEW::GLEW OpenGL::GL glm::glm tinyobjloader::tinyobjloader ${SOIL_LIBRARY} Threads::Threads)
# glm's experimental extensions (quaternion helpers, string casts) are used in tests.
target_compile_definitions(stagewalk_deps INTERFACE GLM_ENABLE_EXPERIMENTAL)
