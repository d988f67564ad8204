// Checks the room's data document, the markup entry the game reads to know where runs end: its
// markup, that every finish gives all five numbers, that each rectangle has a width and a depth, and
// that the room has a floor at the finish's height under all of it. The builder checks the tiles a
// finish is painted on; this checks what the game reads, however it was written. Single-threaded.
#pragma once

#include "engine/graphics/mesh_data.h"
#include "markup/document.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/game_folder.h"
#include "stagewalk_check/manifest_check.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// Checks the first markup entry of `plan` named `data`, a level's data, if there is one; `room` is
// the level's room's first mesh as the game collides with it, or null when it did not load (then the
// floors are not looked at). A file that is missing or refused is left to the asset file check.
void CheckLevelData(const std::vector<PlannedEntry>& plan, const std::string& data, const GameFolder& folder,
                    const Engine::MeshData* room, Diagnostics& out);

// The same for a parsed document named `file`.
void CheckLevelDocument(const Tml::Document& level, const std::string& file, const Engine::MeshData* room,
                        Diagnostics& out);

}  // namespace StagewalkCheck
