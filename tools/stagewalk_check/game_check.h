// The whole check of one game folder, in the order the game itself starts: config.tml, the shader
// files, the asset manifest, every asset file, the names the game asks for, and the rules its
// models must keep. Single-threaded.
#pragma once

#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"

namespace StagewalkCheck {

// Checks the game folder and adds every problem found to `out`. A document the game would refuse
// (missing header, wrong version) ends the checks that depend on it.
void CheckGame(const GameFolder& folder, Diagnostics& out);

}  // namespace StagewalkCheck
