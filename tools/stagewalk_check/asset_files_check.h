// Loads every planned asset the way the game's loader does (images decoded, OBJ models converted,
// TMX maps and markup documents read, sounds decoded) and reports the entries whose files are missing or do
// not load, with the loaders' own texts. No OpenGL; single-threaded (the tile-map loader keeps state).
#pragma once

#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"
#include "stagewalk_check/manifest_check.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// Tries every entry of `plan` (paths relative to `folder`); problems go to `manifestFile` at the
// entry's line. Every entry is tried, although the game stops at the first failure.
void CheckAssetFiles(const std::vector<PlannedEntry>& plan, const GameFolder& folder,
                     const std::string& manifestFile, Diagnostics& out);

}  // namespace StagewalkCheck
