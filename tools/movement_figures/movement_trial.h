// One run of the real game on test geometry: each frame feeds keys and mouse through ControlState
// and the virtual gamepad exactly as the shell does, then runs Game::Update with the frame's dt, so
// the player moves in the game's own 60-Hz steps and collides with the triangles the way the stage
// does (model units, scaled by 8). For the movement figures tool, the guides' figure test and the
// checker's walks; the input tables are process-wide, so one trial at a time, main thread only.
#pragma once

#include "application/game.h"
#include "application/player.h"

#include <glm/glm.hpp>

#include <vector>

namespace MovementFigures {

struct Keys {
    bool forward = false;         // W held
    bool jump = false;            // space held
    glm::vec2 mouse{0.0f, 0.0f};  // mouse movement of the frame, in counts (x right, y down)
};

class MovementTrial {
public:
    // The player starts (and respawns) at `start` (world units) facing +z and falls onto the
    // geometry, `positions` in model units, nine floats per triangle.
    MovementTrial(const std::vector<float>& positions, glm::vec3 start);
    // One frame of `dt` 60-Hz frames (1: one step) with these keys down.
    void Frame(Keys keys, float dt = 1.0f);
    // Frames with no key down until the player stands, at most `limit`; false if it never does.
    bool Settle(int limit = 600);
    const Application::Player& GetPlayer() const { return *game.player; }
    // The player to place between frames: position, velocity, angles, ground flag.
    Application::Player& Player() { return *game.player; }
    // Collides from now on with `positions` (model units, nine floats per triangle) instead.
    void UseGeometry(const std::vector<float>& positions) { game.PrepareCollision(positions); }
    // Triangles the latest step's collision pass tested (the others it skipped).
    size_t TestedCount() const { return game.GetCollisionMesh().GetTestedCount(); }

private:
    Application::Game game;
    Keys held;
    glm::vec2 mouseAt{0.0f, 0.0f};
};

struct Jump {
    float apex = 0;   // world units above the floor, the highest a frame ended at
    int airtime = 0;  // frames from the take-off frame to the landing frame, both counted
};
// A standing jump on a wide floor at frames of `dt`, the key held for `hold` frames (1: tapped).
Jump JumpOnFlatFloor(int hold, float dt = 1.0f);

// Test geometry in model units, nine floats per triangle, appended to `positions`.
void AddFloor(std::vector<float>& positions, float x0, float x1, float z0, float z1, float y);
// A wall across x in [x0, x1] at z, from `bottom` to `top`, with two corners stacked per triangle.
void AddWallAcrossZ(std::vector<float>& positions, float x0, float x1, float z, float bottom, float top);

}  // namespace MovementFigures
