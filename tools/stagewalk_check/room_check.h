// The room's rules as the game applies them: objects the collision never sees, faces that cannot be
// drawn, floors wound to face down, walls a walking player passes and floor seams a standing one
// sinks through (walk_check.h), and whether the real player, dropped at the spawn point, finds a
// floor. Findings point at the OBJ's "f" and "o"/"g" lines. Single-threaded: the spawn check and
// the walks run the real player, which reads the virtual gamepad's static state (the spawn check
// sets both sticks to rest).
#pragma once

#include "collision/collision_triangle.h"
#include "engine/graphics/mesh_data.h"
#include "stagewalk_check/diagnostics.h"
#include "stagewalk_check/obj_layout.h"

#include <string>
#include <vector>

namespace StagewalkCheck {

// Checks `room`, the engine's conversion of the room model, whose lines `layout` knows; findings
// go to `file` (the path as written in the manifest).
void CheckRoom(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
               Diagnostics& out);
// The same for a level that starts the player at `spawn` (world units), its level data's.
void CheckRoom(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
               const glm::vec3& spawn, Diagnostics& out);

// "1.25", "-0.0037": short numbers for messages.
std::string Number(double value);

// The mesh's triangles as the collision prepares them, in world units.
std::vector<Application::CollisionTriangle> PreparedTriangles(const Engine::MeshData& mesh);
// A floor the player stands on from above.
bool FacesUp(const Application::CollisionTriangle& t);
// The floor's plane height at (x, z), as the landing computes it.
float FloorHeightAt(const Application::CollisionTriangle& t, float x, float z);
// The triangle holds `p` seen from above, by the collision's own point test.
bool CoversFromAbove(const Application::CollisionTriangle& t, const glm::vec3& p);

}  // namespace StagewalkCheck
