// Models: ordered, owned meshes, and their creation from loader-thread geometry.
#include "engine/graphics/model.h"

#include "engine/graphics/mesh.h"
#include "engine/graphics/texture.h"

namespace Engine {

Model::Model() = default;

Model::~Model() = default;

void Model::Draw(const std::vector<Texture*>& textures, bool linear) {
    // A list shorter than the model draws the remaining meshes untextured instead of reading past it.
    for (size_t i = 0; i < meshes.size(); ++i) {
        meshes[i]->Draw(i < textures.size() ? textures[i] : nullptr, linear);
    }
}

Mesh* Model::GetMesh(unsigned index) const { return index < meshes.size() ? meshes[index].get() : nullptr; }

unsigned Model::GetMeshCount() const { return static_cast<unsigned>(meshes.size()); }

void Model::AddMesh(Mesh* mesh) { meshes.emplace_back(mesh); }

void Model::PopMesh() {
    if (!meshes.empty()) meshes.pop_back();
}

Model* CreateModel(ModelData* data) {
    auto* model = new Model;
    if (!data) return model;
    for (const auto& record : *data) {
        if (record)
            model->AddMesh(new Mesh(record->positions, record->indices, record->uvs, record->normals));
    }
    delete data;
    return model;
}

}  // namespace Engine
