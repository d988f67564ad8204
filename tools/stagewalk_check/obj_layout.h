// Where the triangles of a converted OBJ model come from in its file: the object ("o"/"g" line)
// that starts each mesh, and the face ("f" line) behind each triangle, so that findings about the
// geometry can point at the line a modder has to change. A plain value; any thread.
#pragma once

#include "engine/graphics/mesh_data.h"

#include <cstddef>
#include <string>
#include <vector>

namespace StagewalkCheck {

class ObjLayout {
public:
    // Maps `model`, the engine's conversion of `text`, back onto the lines of `text`. When the
    // file's faces do not add up to the model's triangles, no triangle gets a line (Reliable false);
    // when its objects do not match the meshes either, no object does.
    ObjLayout(const std::string& text, const Engine::ModelData& model);

    // False when the triangles could not be matched with the faces of the file.
    bool Reliable() const { return reliable; }
    // The "o" or "g" line that starts mesh `mesh`; 0 for faces before any such line, or unknown.
    int ObjectLine(size_t mesh) const;
    // The object's name as written on that line; empty for faces before any such line.
    std::string ObjectName(size_t mesh) const;
    // The "f" line that made triangle `triangle` of mesh `mesh`; 0 when unknown.
    int FaceLine(size_t mesh, size_t triangle) const;

private:
    struct Object {
        int line = 0;
        std::string name;
        std::vector<int> triangleLines;  // one "f" line per triangle, in the model's order
    };
    std::vector<Object> meshes;  // one per mesh of the model
    bool reliable = false;
};

}  // namespace StagewalkCheck
