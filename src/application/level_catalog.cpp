#include "application/level_catalog.h"

#include "application/level_identity.h"
#include "application/room_identity.h"
#include "application/run_records.h"
#include "engine/assets/asset_kinds.h"

namespace Application {

void LevelCatalog::Read(const Tml::Document& manifest) {
    levels = LevelList::Read(manifest);
    entries = Engine::AssetBuffer(manifest, nullptr).GetEntries();
    known.assign(levels.Count(), Known());
}

std::string LevelCatalog::PathOf(const char* kind, const std::string& name) const {
    if (name.empty()) return std::string();
    for (const Engine::AssetEntry& entry : entries) {
        if (entry.kind == kind && entry.name == name) return entry.path;
    }
    return std::string();
}

std::string LevelCatalog::RoomPath(size_t index) const {
    return PathOf(Engine::AssetKind::Model, At(index).room);
}

std::string LevelCatalog::DataPath(size_t index) const {
    return PathOf(Engine::AssetKind::Markup, At(index).data);
}

std::string LevelCatalog::IdentityOfFiles(size_t index) const {
    const std::string room = RoomPath(index);
    if (room.empty()) return std::string();
    return LevelIdentityOfFiles(room, DataPath(index));
}

void LevelCatalog::Identify(size_t index, const std::string& identity, RunRecords& records) {
    Known& level = known.at(index);
    level.identity = identity;
    level.best = records.Best(identity);
    if (level.best >= 0 || identity.empty()) return;
    const int64_t carried = records.Best(RoomFileIdentity(RoomPath(index)));
    if (carried >= 0 && records.Offer(identity, carried)) level.best = carried;
}

}  // namespace Application
