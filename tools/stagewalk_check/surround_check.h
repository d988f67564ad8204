// The sky box and the city backdrop against the far plane: both are drawn around the eye at a
// fixed scale, and whatever of them lies beyond the far plane is clipped to black. Finds the faces
// with such corners and gives how far they lie. Pure computation; any thread.
#pragma once

#include "engine/graphics/mesh_data.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/obj_layout.h"

#include <string>

namespace StagewalkCheck {

enum class Surround { Skybox, Backdrop };

// The heights, in world units, between which the eye moves: the backdrop keeps its height while the
// eye moves, so its corners' distances depend on them.
struct EyeHeights {
    float lowest = 0.0f;
    float highest = 0.0f;
};

// The eye heights of a player standing on the room's lowest and highest floor (the spawn point's
// when the room has none).
EyeHeights RoomEyeHeights(const Engine::ModelData* room);

// Warns at each face of `model` (drawn as `which`) with a corner the far plane clips, in any
// direction the player can look.
void CheckSurround(const Engine::ModelData& model, const ObjLayout& layout, Surround which, EyeHeights eyes,
                   const std::string& file, Diagnostics& out);

}  // namespace StagewalkCheck
