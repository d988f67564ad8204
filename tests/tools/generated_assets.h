// Test helpers for the committed game assets in game/data: OBJ files read through tinyobjloader as
// the game reads them (triangulated, y snapped to 0.001), and images decoded by SOIL into RGBA.
// Header-only so the asset tests need nothing outside this folder; any thread.
#pragma once

#include <SOIL/SOIL.h>
#include <tiny_obj_loader.h>
#include <glm/glm.hpp>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace AssetTests {

inline std::string DataFile(const std::string& name) {
    return std::string(STAGEWALK_SOURCE_DIR) + "/game/data/" + name;
}

// The game's snap of model y: down to a multiple of 0.001, in single precision.
inline float SnapY(float y) { return std::floor(y * 1000.0f) / 1000.0f; }

struct Triangle {
    glm::vec3 p[3];  // positions, y snapped
    glm::vec2 uv[3];
    glm::vec3 n[3];        // the file's vn per corner
    bool complete = true;  // every corner had a position, a uv and a normal index
    float rawY[3];         // y as read, before the snap
};

struct ObjFile {
    bool loaded = false;
    std::string error;
    std::size_t shapeCount = 0;
    std::vector<Triangle> triangles;  // the first shape's triangles, in file order
};

inline ObjFile LoadObj(const std::string& path) {
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warn, err;
    ObjFile file;
    file.loaded = tinyobj::LoadObj(&attrib, &shapes, &materials, &warn, &err, path.c_str(), nullptr, true);
    file.error = err;
    file.shapeCount = shapes.size();
    if (!file.loaded || shapes.empty()) return file;
    const std::vector<tinyobj::index_t>& indices = shapes[0].mesh.indices;
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        Triangle t;
        for (int k = 0; k < 3; ++k) {
            const tinyobj::index_t& index = indices[i + k];
            if (index.vertex_index < 0 || index.texcoord_index < 0 || index.normal_index < 0) {
                t.complete = false;
                continue;
            }
            const float* v = &attrib.vertices[3 * static_cast<std::size_t>(index.vertex_index)];
            const float* vt = &attrib.texcoords[2 * static_cast<std::size_t>(index.texcoord_index)];
            const float* vn = &attrib.normals[3 * static_cast<std::size_t>(index.normal_index)];
            t.rawY[k] = v[1];
            t.p[k] = {v[0], SnapY(v[1]), v[2]};
            t.uv[k] = {vt[0], vt[1]};
            t.n[k] = {vn[0], vn[1], vn[2]};
        }
        file.triangles.push_back(t);
    }
    return file;
}

// (b - a) x (c - a): points to the side from which the corners run counter-clockwise.
inline glm::vec3 WindingNormal(const Triangle& t) { return glm::cross(t.p[1] - t.p[0], t.p[2] - t.p[0]); }

struct RgbaImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    const std::uint8_t* At(int x, int y) const {
        return &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    }
    // Bilinear sample at texture coordinates, clamped to the edge (as the sky box draws).
    glm::vec4 SampleClamped(glm::vec2 uv) const {
        const float fx = uv.x * width - 0.5f, fy = uv.y * height - 0.5f;
        const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
        const float tx = fx - x0, ty = fy - y0;
        auto texel = [&](int x, int y) {
            x = x < 0 ? 0 : (x >= width ? width - 1 : x);
            y = y < 0 ? 0 : (y >= height ? height - 1 : y);
            const std::uint8_t* p = At(x, y);
            return glm::vec4(p[0], p[1], p[2], p[3]) / 255.0f;
        };
        return glm::mix(glm::mix(texel(x0, y0), texel(x0 + 1, y0), tx),
                        glm::mix(texel(x0, y0 + 1), texel(x0 + 1, y0 + 1), tx), ty);
    }
};

// Decodes with SOIL, forcing four channels; an empty image when the file cannot be read.
inline RgbaImage LoadRgba(const std::string& path) {
    RgbaImage image;
    int channels = 0;
    unsigned char* data =
        SOIL_load_image(path.c_str(), &image.width, &image.height, &channels, SOIL_LOAD_RGBA);
    if (!data) return {};
    image.pixels.assign(data, data + static_cast<std::size_t>(image.width) * image.height * 4);
    SOIL_free_image_data(data);
    return image;
}

}  // namespace AssetTests
