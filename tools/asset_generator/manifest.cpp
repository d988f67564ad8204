#include "manifest.h"

namespace AssetGenerator {

std::string MakeManifest(const std::string& workdir, const std::vector<ManifestEntry>& entries) {
    std::string text = "@ tangly-ml-v-020\n{ list\n\t! workdir " + workdir + "\n";
    for (const ManifestEntry& entry : entries) {
        text += "\t{ " + entry.kind + "\n";
        text += "\t\t! name " + entry.name + "\n";
        text += "\t\t! path " + entry.path + "\n";
        text += "\t}\n";
    }
    text += "}\n";
    return text;
}

}  // namespace AssetGenerator
