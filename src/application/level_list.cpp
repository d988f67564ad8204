#include "application/level_list.h"

#include "application/asset_names.h"
#include "engine/assets/asset_kinds.h"
#include "markup/document.h"

namespace Application {

namespace {

bool WordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

}  // namespace

bool LevelList::IsName(const std::string& text) {
    if (text.empty() || text.size() > MaxNameLength || text[0] == '-') return false;
    for (const char c : text) {
        if (!WordCharacter(c)) return false;
    }
    return true;
}

Level LevelList::ImplicitLevel() {
    return Level{AssetNames::Room, AssetNames::Room, AssetNames::Room, AssetNames::Level};
}

LevelList LevelList::Read(const Tml::Document& manifest) {
    LevelList list;
    for (const Tml::Node* root : manifest.RootNodes()) {
        if (root->Name() != Root) continue;
        for (const Tml::Node* node : root->Children()) {
            if (node->Name() != Node) continue;
            Level level;
            bool titled = false;
            // Keys given twice take the last value, as every reader of the markup does.
            for (const Tml::Attribute& attribute : node->Attributes()) {
                if (attribute.key == NameKey) level.name = attribute.value;
                if (attribute.key == TitleKey) {
                    level.title = attribute.value;
                    titled = true;
                }
                if (attribute.key == RoomKey) level.room = attribute.value;
                if (attribute.key == DataKey) level.data = attribute.value;
            }
            if (!IsName(level.name) || level.room.empty() || list.IndexOf(level.name) >= 0) continue;
            if (!titled || level.title.empty()) level.title = level.name;
            list.levels.push_back(level);
        }
    }
    if (list.levels.empty()) {
        list.levels.push_back(ImplicitLevel());
        list.implicit = true;
    }
    return list;
}

int LevelList::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < levels.size(); ++i) {
        if (levels[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

bool LevelList::BelongsTo(const Engine::AssetEntry& entry, size_t index) const {
    const Level& level = levels.at(index);
    if (entry.kind == Engine::AssetKind::Model) return entry.name == level.room;
    if (entry.kind == Engine::AssetKind::Markup) return !level.data.empty() && entry.name == level.data;
    return false;
}

bool LevelList::BelongsToALevel(const Engine::AssetEntry& entry) const {
    for (size_t i = 0; i < levels.size(); ++i) {
        if (BelongsTo(entry, i)) return true;
    }
    return false;
}

std::vector<Engine::AssetEntry> LevelList::PlanFor(const std::vector<Engine::AssetEntry>& entries,
                                                   size_t index) const {
    std::vector<Engine::AssetEntry> plan;
    for (const Engine::AssetEntry& entry : entries) {
        if (BelongsTo(entry, index) || !BelongsToALevel(entry)) plan.push_back(entry);
    }
    return plan;
}

std::vector<Engine::AssetEntry> LevelList::EntriesOf(const std::vector<Engine::AssetEntry>& entries,
                                                     size_t index) const {
    std::vector<Engine::AssetEntry> own;
    for (const Engine::AssetEntry& entry : entries) {
        if (BelongsTo(entry, index)) own.push_back(entry);
    }
    return own;
}

}  // namespace Application
