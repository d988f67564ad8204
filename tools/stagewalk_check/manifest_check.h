// Checks the asset manifest as the game walks it: unknown root nodes, kinds and keys, nested lists,
// names and paths carried over from the entry before, duplicate names. Produces the game's own
// loading plan with the line of each entry. Single-threaded use per call; keeps no state.
#pragma once

#include "engine/assets/asset_buffer.h"
#include "markup/document.h"
#include "stagewalk_check/diagnostics.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// One entry of the loading plan and where it stands in the manifest.
struct PlannedEntry {
    Engine::AssetEntry entry;  // name, kind and path exactly as the game plans them
    int line = 0;              // line of the entry's "{"
    bool hasPath = false;      // false when neither it nor any entry before it gave a "path"
    bool firstOfName = true;   // false when an earlier entry of the same kind has the same name
};

// Reports the problems of the parsed `manifest` (named `file`) and returns the plan in load order.
std::vector<PlannedEntry> CheckManifest(const Tml::Document& manifest, const std::string& file,
                                        Diagnostics& out);

}  // namespace StagewalkCheck
