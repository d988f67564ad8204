#include "manifest.h"

#include "application/level_list.h"
#include "engine/assets/asset_kinds.h"
#include "markup/statement.h"

namespace AssetGenerator {

std::string MakeManifest(const std::string& workdir, const std::vector<ManifestEntry>& entries,
                         const std::vector<ManifestLevel>& levels) {
    using namespace Engine::Manifest;
    std::string text =
        std::string("@ tangly-ml-v-020\n{ ") + List + "\n\t! " + Workdir + " " + workdir + "\n";
    for (const ManifestEntry& entry : entries) {
        text += "\t{ " + entry.kind + "\n";
        text += std::string("\t\t! ") + Name + " " + entry.name + "\n";
        text += std::string("\t\t! ") + Path + " " + entry.path + "\n";
        text += "\t}\n";
    }
    text += "}\n";
    if (levels.empty()) return text;
    using Application::LevelList;
    text += std::string("{ ") + LevelList::Root + "\n";
    for (const ManifestLevel& level : levels) {
        const std::string title = Tml::QuotedValue(level.title);
        text += std::string("\t{ ") + LevelList::Node + "\n";
        text += std::string("\t\t! ") + LevelList::NameKey + " " + level.name + "\n";
        text += std::string("\t\t! ") + LevelList::TitleKey + " " + title + "\n";
        text += std::string("\t\t! ") + LevelList::RoomKey + " " + level.room + "\n";
        text += std::string("\t\t! ") + LevelList::DataKey + " " + level.data + "\n";
        text += "\t}\n";
    }
    text += "}\n";
    return text;
}

}  // namespace AssetGenerator
