// The checker's rules of the level list, as the game reads it from the manifest: level nodes the game
// skips (no name, a name that is no word, a name twice, no room) and keys it ignores; a level whose room
// or data is no entry of the manifest, or whose file is missing (errors: the level cannot be played as
// meant); a level without a finish, an entry that nothing uses, and a room or level file in the
// manifest's folders that nothing lists (warnings: legal, but surely not meant). Single-threaded; keeps
// no state.
#pragma once

#include "markup/document.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"
#include "stagewalk_check/manifest_check.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// Checks the level list of the parsed `manifest` (named `manifestFile`), whose entries the game plans
// as `plan`, against the files of `folder`.
void CheckLevelList(const Tml::Document& manifest, const std::string& manifestFile,
                    const std::vector<PlannedEntry>& plan, const GameFolder& folder, Diagnostics& out);

}  // namespace StagewalkCheck
