// A drawable model: an ordered list of meshes, one per shape of an OBJ file. Owns its meshes.
// Made by CreateModel on the main thread once loading has finished; owned by the asset store.
#pragma once

#include "engine/graphics/mesh_data.h"

#include <memory>
#include <vector>

namespace Engine {

class Mesh;
struct Texture;

class Model {
public:
    Model();
    ~Model();
    Model(const Model&) = delete;
    Model& operator=(const Model&) = delete;

    // Draws mesh i with textures[i]; `textures` has at least as many entries as there are meshes.
    void Draw(const std::vector<Texture*>& textures, bool linear);
    // The mesh at `index`, or null when index >= GetMeshCount().
    Mesh* GetMesh(unsigned index) const;
    unsigned GetMeshCount() const;
    // Appends `mesh`; the model owns it from now on.
    void AddMesh(Mesh* mesh);
    // Destroys the last mesh, if any.
    void PopMesh();

private:
    std::vector<std::unique_ptr<Mesh>> meshes;
};

// Builds a model with one mesh per record of `data`, in order, then deletes `data`. Main thread.
Model* CreateModel(ModelData* data);

}  // namespace Engine
