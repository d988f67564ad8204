// OBJ model conversion: reads a Wavefront OBJ file with tinyobjloader and un-indexes it into the
// CPU-side mesh arrays, one MeshData per shape with faces. Runs on the asset loader thread and makes
// no OpenGL call; the caller owns the result until CreateModel consumes it on the main thread.
#pragma once

#include "engine/graphics/mesh_data.h"

#include <string>
#include <string_view>

namespace Engine {

// A new ModelData for the OBJ file at `path`, owned by the caller; throws std::runtime_error
// "Error loading a file in <path>:<library text>" when the library cannot read the file.
ModelData* ConvertObj(const std::string& path);

// The same for OBJ text already in memory; `path` only names it in the message. Material libraries
// are not read.
ModelData* ConvertObjFromMemory(std::string_view text, const std::string& path);

}  // namespace Engine
