// CPU-side geometry: the arrays a Mesh is made from, produced by model conversion on the loader
// thread and consumed by CreateModel on the main thread. Plain data, owned by whoever holds the
// pointer (the asset store between loading and finishing). No OpenGL here; any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace Engine {

// One indexed triangle list: 3 floats per position, 2 per uv, 3 per normal, 3 indices per triangle.
struct MeshData {
    std::vector<float> positions;
    std::vector<uint32_t> indices;
    std::vector<float> uvs;
    std::vector<float> normals;
};

// The meshes of one model, in shape order. The list owns its records, so deleting a ModelData
// releases every MeshData with it.
using ModelData = std::vector<std::unique_ptr<MeshData>>;

}  // namespace Engine
