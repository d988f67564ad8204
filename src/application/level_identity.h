// Names a level by what plays: a hash of its room's triangles as the game loads them (every corner's
// position, mesh by mesh), its spawn and its finish rectangles as the game reads them, in the form of
// room_identity.h. Whitespace, comments, normals and texture coordinates in the files change nothing;
// moving a corner, the spawn or a finish makes another level. Demos and best times are keyed by it.
// Stateless; any thread (the file form reads files; the others only look at what they are given).
#pragma once

#include "engine/graphics/mesh_data.h"

#include <string>
#include <vector>

namespace Engine {
class Model;
}

namespace Tml {
class Document;
}

namespace Application {

// The identity of a room of meshes with these corner positions (three floats each) and of the level
// data `data` (null: none, which plays as a level without spawn or finish).
std::string LevelIdentity(const std::vector<const std::vector<float>*>& meshes, const Tml::Document* data);
// The same of a room as the loader left it (before it is made drawable) or as the store keeps it once
// drawable; a null room has no meshes.
std::string LevelIdentity(const Engine::ModelData* room, const Tml::Document* data);
std::string LevelIdentity(const Engine::Model* room, const Tml::Document* data);
// The same from the files: the room converted as the loader converts it, the data read as the loader
// reads it (an empty path: none). "" when either cannot be read.
std::string LevelIdentityOfFiles(const std::string& roomPath, const std::string& dataPath);

}  // namespace Application
