#include "application/level_identity.h"

#include "application/finish_area.h"
#include "application/room_identity.h"
#include "application/spawn_point.h"
#include "engine/assets/markup_loading.h"
#include "engine/assets/model_conversion.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/model.h"
#include "markup/document.h"

#include <cstring>
#include <exception>
#include <memory>

namespace Application {

namespace {

// Told apart from any room file's bytes, and from a later way of naming levels.
constexpr char kTag[] = "stagewalk level 1";

uint64_t Count(uint64_t hash, uint64_t count) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(count >> (8 * i));
    return Fnv1a(hash, bytes, sizeof bytes);
}

// A float by its bits, little-endian, so that equal text means equal numbers on any machine; -0 plays
// as 0 and counts as 0.
uint64_t Float(uint64_t hash, float value) {
    if (value == 0.0f) value = 0.0f;
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return Count(hash, bits);
}

}  // namespace

std::string LevelIdentity(const std::vector<const std::vector<float>*>& meshes, const Tml::Document* data) {
    uint64_t hash = Fnv1a(kFnvOffset, kTag, sizeof kTag - 1);
    hash = Count(hash, meshes.size());
    for (const std::vector<float>* positions : meshes) {
        hash = Count(hash, positions->size());
        for (const float value : *positions) hash = Float(hash, value);
    }
    const SpawnPoint spawn = SpawnPoint::FromDocument(data);
    for (const float value : {spawn.position.x, spawn.position.y, spawn.position.z, spawn.yaw})
        hash = Float(hash, value);
    const FinishArea finish = FinishArea::FromDocument(data);
    hash = Count(hash, finish.Rectangles().size());
    for (const FinishArea::Rectangle& r : finish.Rectangles()) {
        for (const float value : {r.west, r.east, r.north, r.south, r.floor}) hash = Float(hash, value);
    }
    return IdentityText(hash);
}

std::string LevelIdentity(const Engine::ModelData* room, const Tml::Document* data) {
    std::vector<const std::vector<float>*> meshes;
    if (room != nullptr) {
        for (const std::unique_ptr<Engine::MeshData>& mesh : *room) meshes.push_back(&mesh->positions);
    }
    return LevelIdentity(meshes, data);
}

std::string LevelIdentity(const Engine::Model* room, const Tml::Document* data) {
    std::vector<const std::vector<float>*> meshes;
    for (unsigned i = 0; room != nullptr && i < room->GetMeshCount(); ++i)
        meshes.push_back(&room->GetMesh(i)->GetPositions());
    return LevelIdentity(meshes, data);
}

std::string LevelIdentityOfFiles(const std::string& roomPath, const std::string& dataPath) {
    try {
        const std::unique_ptr<Engine::ModelData> room(Engine::ConvertObj(roomPath));
        const std::unique_ptr<Tml::Document> data(dataPath.empty() ? nullptr : Engine::LoadMarkup(dataPath));
        return LevelIdentity(room.get(), data.get());
    } catch (const std::exception&) {
        return std::string();  // a level whose files do not load has no identity
    }
}

}  // namespace Application
