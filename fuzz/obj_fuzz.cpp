// Fuzzes OBJ conversion from memory: a model whose four arrays agree corner for corner, or the
// documented loading error; nothing else may escape.
#include "engine/assets/model_conversion.h"
#include "fuzz_input.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::unique_ptr<Engine::ModelData> model;
    try {
        model.reset(Engine::ConvertObjFromMemory(text, "fuzz.obj"));
    } catch (const std::runtime_error& error) {
        Fuzz::Require(std::string(error.what()).rfind("Error loading a file in fuzz.obj:", 0) == 0,
                      "unexpected OBJ error text");
        return 0;
    }
    for (const std::unique_ptr<Engine::MeshData>& mesh : *model) {
        const size_t corners = mesh->indices.size();
        Fuzz::Require(mesh->positions.size() == corners * 3, "positions do not match the corners");
        Fuzz::Require(mesh->normals.size() == corners * 3, "normals do not match the corners");
        Fuzz::Require(mesh->uvs.size() == corners * 2, "uvs do not match the corners");
        for (size_t i = 0; i < corners; ++i) Fuzz::Require(mesh->indices[i] == i, "indices do not count");
    }
    return 0;
}
