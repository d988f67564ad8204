#include "manifest.h"

#include "application/level_list.h"

namespace AssetGenerator {

std::string MakeManifest(const std::string& workdir, const std::vector<ManifestEntry>& entries,
                         const std::vector<ManifestLevel>& levels) {
    std::string text = "@ tangly-ml-v-020\n{ list\n\t! workdir " + workdir + "\n";
    for (const ManifestEntry& entry : entries) {
        text += "\t{ " + entry.kind + "\n";
        text += "\t\t! name " + entry.name + "\n";
        text += "\t\t! path " + entry.path + "\n";
        text += "\t}\n";
    }
    text += "}\n";
    if (levels.empty()) return text;
    using Application::LevelList;
    text += std::string("{ ") + LevelList::Root + "\n";
    for (const ManifestLevel& level : levels) {
        const bool spaced = level.title.find(' ') != std::string::npos;
        const std::string title = spaced ? "\"" + level.title + "\"" : level.title;
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
