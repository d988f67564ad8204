#include "engine/assets/model_conversion.h"

#include <tiny_obj_loader.h>

#include <cmath>
#include <cstddef>
#include <sstream>
#include <stdexcept>

namespace Engine {

namespace {

// Appends `count` components of element `index` of `values`, or `count` zeros when the corner has no
// such attribute (index -1) or its index lies outside the array. The library passes out-of-range
// indices through with only a warning, and a relative index reaching before the first element
// comes out negative, so every index is checked before it is read.
void AppendAttribute(const std::vector<tinyobj::real_t>& values, int index, std::size_t count,
                     std::vector<float>& out) {
    const std::size_t available = values.size() / count;
    // Component by component: the arrays are reserved, and a range insert per corner costs more
    // than the copy itself.
    if (index < 0 || static_cast<std::size_t>(index) >= available) {
        for (std::size_t i = 0; i < count; ++i) out.push_back(0.0f);
        return;
    }
    const tinyobj::real_t* first = values.data() + static_cast<std::size_t>(index) * count;
    for (std::size_t i = 0; i < count; ++i) out.push_back(first[i]);
}

std::unique_ptr<MeshData> ConvertShape(const tinyobj::attrib_t& attrib, const tinyobj::mesh_t& mesh) {
    auto data = std::make_unique<MeshData>();
    const std::size_t corners = mesh.indices.size();
    data->positions.reserve(corners * 3);
    data->normals.reserve(corners * 3);
    data->uvs.reserve(corners * 2);
    data->indices.reserve(corners);

    std::size_t offset = 0;
    for (const unsigned char faceCorners : mesh.num_face_vertices) {
        for (std::size_t j = 0; j < faceCorners && offset + j < corners; ++j) {
            const tinyobj::index_t& corner = mesh.indices[offset + j];
            AppendAttribute(attrib.vertices, corner.vertex_index, 3, data->positions);
            // Only the height is snapped, down to a multiple of 0.001, so that nearly level floors
            // come out level; x, z, normals and uvs are copied unchanged.
            float& y = data->positions[data->positions.size() - 2];
            y = std::floor(y * 1000.0f) / 1000.0f;
            AppendAttribute(attrib.normals, corner.normal_index, 3, data->normals);
            AppendAttribute(attrib.texcoords, corner.texcoord_index, 2, data->uvs);
            data->indices.push_back(static_cast<uint32_t>(data->indices.size()));
        }
        offset += faceCorners;
    }
    return data;
}

// Un-indexes every shape that has faces, in the library's shape order.
ModelData* ConvertShapes(const tinyobj::attrib_t& attrib, const std::vector<tinyobj::shape_t>& shapes) {
    auto model = std::make_unique<ModelData>();
    for (const tinyobj::shape_t& shape : shapes) {
        if (shape.mesh.num_face_vertices.empty()) continue;
        model->push_back(ConvertShape(attrib, shape.mesh));
    }
    return model.release();
}

// The library ends each of its messages with a line break; the error is reported as one line.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

// The library's own text follows the path.
std::runtime_error LoadError(const std::string& path, const std::string& warn, const std::string& err) {
    return std::runtime_error("Error loading a file in " + path + ":" + OneLine(err.empty() ? warn : err));
}

}  // namespace

ModelData* ConvertObj(const std::string& path) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr, true)) {
        throw LoadError(path, warn, err);
    }
    return ConvertShapes(attrib, shapes);
}

ModelData* ConvertObjFromMemory(std::string_view text, const std::string& path) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn;
    std::string err;
    std::istringstream in{std::string(text)};
    // No material reader: "mtllib" lines are skipped, which changes nothing since materials are unused.
    if (!tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, &in, nullptr, true)) {
        throw LoadError(path, warn, err);
    }
    return ConvertShapes(attrib, shapes);
}

}  // namespace Engine
