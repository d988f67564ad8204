// The asset manifest text listing every generated file under the game's "data" folder, in the
// markup language the game reads. Generator only.
#pragma once

#include <string>
#include <vector>

namespace AssetGenerator {

struct ManifestEntry {
    std::string kind;  // an Engine::AssetKind
    std::string name;  // the name the game looks the asset up by
    std::string path;  // file name relative to the manifest's work directory
};

// One "list" with the work directory and a child node per entry, tab-indented, in entry order.
std::string MakeManifest(const std::string& workdir, const std::vector<ManifestEntry>& entries);

}  // namespace AssetGenerator
