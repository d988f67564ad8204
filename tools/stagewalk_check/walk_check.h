// The room walked as a player walks it: walls that the game's own player, walking at full speed at
// 60 frames a second square at them or on a slant into their convex corners, passes through, and
// points on the seams inside a floor where a player standing still sinks. Each finding points at the
// face's "f" line. Single-threaded: the walks run the real Game, which reads the input tables' static
// state.
#pragma once

#include "engine/graphics/mesh_data.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/obj_layout.h"

#include <string>

namespace StagewalkCheck {

// Walks the first mesh of `room` (the one the game collides with); findings go to `file`.
void CheckRoomWalks(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
                    Diagnostics& out);

}  // namespace StagewalkCheck
