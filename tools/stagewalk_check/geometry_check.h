// The game's rules for its three models, checked on the models the manifest plans: the room
// (collision, spawn, drawing), the room's data (finishes on its floors) and the sky box and
// backdrop (the far plane). Loads each with the
// engine's own OBJ path; files that do not load are left to the asset file check. Single-threaded.
#pragma once

#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"
#include "stagewalk_check/manifest_check.h"

#include <vector>

namespace StagewalkCheck {

// Checks the models the game uses from `plan` (the first entry of each name), reporting at the
// lines of their OBJ files.
void CheckGeometry(const std::vector<PlannedEntry>& plan, const GameFolder& folder, Diagnostics& out);

}  // namespace StagewalkCheck
