// The asset manifest text listing every generated file under the game's "data" folder and the
// levels made of them, in the markup language the game reads. Generator only.
#pragma once

#include <string>
#include <vector>

namespace AssetGenerator {

struct ManifestEntry {
    std::string kind;  // an Engine::AssetKind
    std::string name;  // the name the game looks the asset up by
    std::string path;  // file name relative to the manifest's work directory
};

struct ManifestLevel {
    std::string name;   // what --level takes
    std::string title;  // what the menus show; quoted when it holds a space
    std::string room;   // the name of its model entry
    std::string data;   // the name of its markup entry
};

// One "list" with the work directory and a child node per entry, tab-indented, in entry order, then
// one "levels" with a node per level, in level order (the first is where the game starts).
std::string MakeManifest(const std::string& workdir, const std::vector<ManifestEntry>& entries,
                         const std::vector<ManifestLevel>& levels);

}  // namespace AssetGenerator
