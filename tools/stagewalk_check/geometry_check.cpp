#include "stagewalk_check/geometry_check.h"

#include "application/asset_names.h"
#include "common/whole_file.h"
#include "engine/assets/asset_kinds.h"
#include "engine/assets/model_conversion.h"
#include "stagewalk_check/level_check.h"
#include "stagewalk_check/obj_layout.h"
#include "stagewalk_check/required_assets.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/surround_check.h"

#include <exception>
#include <memory>

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

}  // namespace

void CheckGeometry(const std::vector<PlannedEntry>& plan, const GameFolder& folder, Diagnostics& out) {
    const LoadedModel room = Load(plan, folder, kRoomModel);
    if (room.model) CheckRoom(*room.model, *room.layout, room.file, out);
    CheckLevelData(plan, folder, room.model && !room.model->empty() ? (*room.model)[0].get() : nullptr, out);
    const EyeHeights eyes = RoomEyeHeights(room.model.get());
    for (const auto& [name, which] :
         {std::make_pair(Application::AssetNames::Skybox, Surround::Skybox),
          std::make_pair(Application::AssetNames::Cylinder, Surround::Backdrop)}) {
        const LoadedModel surround = Load(plan, folder, name);
        if (surround.model) CheckSurround(*surround.model, *surround.layout, which, eyes, surround.file, out);
    }
}

}  // namespace StagewalkCheck
