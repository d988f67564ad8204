// The game's rules for its models, checked on the models the manifest plans: each level's room
// (collision, spawn, drawing), each level's data (finishes on its room's floors) and the sky box and
// backdrop (the far plane). Loads each with the
// engine's own OBJ path; files that do not load are left to the asset file check. Single-threaded.
#pragma once

#include "application/level_list.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"
#include "stagewalk_check/manifest_check.h"

#include <vector>

namespace StagewalkCheck {

// Checks the models the game uses from `plan` (the first entry of each name): every level's room,
// from that level's spawn, and its data, then the sky box and backdrop; reports at the lines of their
// files.
void CheckGeometry(const std::vector<PlannedEntry>& plan, const Application::LevelList& levels,
                   const GameFolder& folder, Diagnostics& out);

}  // namespace StagewalkCheck
