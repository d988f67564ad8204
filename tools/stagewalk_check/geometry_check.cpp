#include "stagewalk_check/geometry_check.h"

#include "application/asset_names.h"
#include "application/spawn_point.h"
#include "common/whole_file.h"
#include "engine/assets/asset_kinds.h"
#include "engine/assets/markup_loading.h"
#include "engine/assets/model_conversion.h"
#include "markup/document.h"
#include "stagewalk_check/level_check.h"
#include "stagewalk_check/obj_layout.h"
#include "stagewalk_check/required_assets.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/surround_check.h"

#include <exception>
#include <memory>
#include <set>

namespace StagewalkCheck {

namespace {

constexpr size_t kMaxModelBytes = size_t{1} << 30;  // far beyond any room a game could load

// A model as the game loads it, with the text it came from.
struct LoadedModel {
    std::string file;  // as written in the manifest
    std::unique_ptr<Engine::ModelData> model;
    std::unique_ptr<ObjLayout> layout;
};

LoadedModel Load(const std::vector<PlannedEntry>& plan, const GameFolder& folder, const char* name) {
    LoadedModel loaded;
    for (const PlannedEntry& planned : plan) {
        if (planned.entry.kind != Engine::AssetKind::Model || planned.entry.name != name) continue;
        // The game looks names up in manifest order: the first entry is the one it uses.
        if (!planned.hasPath || !folder.IsFile(planned.entry.path)) return loaded;
        const std::string path = folder.Resolve(planned.entry.path);
        try {
            loaded.model.reset(Engine::ConvertObj(path));
        } catch (const std::exception&) {
            return loaded;  // reported with the asset files
        }
        const Common::WholeFile file = Common::ReadWholeFile(path, kMaxModelBytes);
        loaded.layout = std::make_unique<ObjLayout>(file.text, *loaded.model);
        loaded.file = planned.entry.path;
        return loaded;
    }
    return loaded;
}

// The level data named `name` as the game reads it, or null (none listed, or it does not load).
std::unique_ptr<Tml::Document> LoadData(const std::vector<PlannedEntry>& plan, const GameFolder& folder,
                                        const std::string& name) {
    if (name.empty()) return nullptr;
    for (const PlannedEntry& planned : plan) {
        if (planned.entry.kind != Engine::AssetKind::Markup || planned.entry.name != name) continue;
        if (!planned.hasPath || !folder.IsFile(planned.entry.path)) return nullptr;
        try {
            return std::unique_ptr<Tml::Document>(Engine::LoadMarkup(folder.Resolve(planned.entry.path)));
        } catch (const std::exception&) {
            return nullptr;  // reported with the asset files
        }
    }
    return nullptr;
}

}  // namespace

void CheckGeometry(const std::vector<PlannedEntry>& plan, const Application::LevelList& levels,
                   const GameFolder& folder, Diagnostics& out) {
    // Each level's room, dropped on from that level's spawn, and its data on that room's floors; a room
    // or data two levels share is checked once, with the first of them.
    std::set<std::string> rooms, data;
    LoadedModel first;
    for (const Application::Level& level : levels.All()) {
        LoadedModel room = Load(plan, folder, level.room.c_str());
        const std::unique_ptr<Tml::Document> document = LoadData(plan, folder, level.data);
        const Engine::MeshData* mesh = room.model && !room.model->empty() ? (*room.model)[0].get() : nullptr;
        if (room.model && rooms.insert(level.room).second) {
            CheckRoom(*room.model, *room.layout, room.file,
                      Application::SpawnPoint::FromDocument(document.get()).position, out);
        }
        if (!level.data.empty() && data.insert(level.data).second)
            CheckLevelData(plan, level.data, folder, mesh, out);
        if (!first.model) first = std::move(room);
    }
    const EyeHeights eyes = RoomEyeHeights(first.model.get());
    for (const auto& [name, which] :
         {std::make_pair(Application::AssetNames::Skybox, Surround::Skybox),
          std::make_pair(Application::AssetNames::Cylinder, Surround::Backdrop)}) {
        const LoadedModel surround = Load(plan, folder, name);
        if (surround.model) CheckSurround(*surround.model, *surround.layout, which, eyes, surround.file, out);
    }
}

}  // namespace StagewalkCheck
