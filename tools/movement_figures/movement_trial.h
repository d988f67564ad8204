// One run of the real Player on test geometry: each frame feeds keys through ControlState and the
// virtual gamepad exactly as the shell does, then updates the player and collides it with the
// triangles the way the stage does (model units, scaled by 8). For the movement figures tool; the
// input tables are process-wide, so one trial at a time, main thread only. Also measures the jump
// figures the guides quote (their test calls JumpOnFlatFloor).
#pragma once

#include "application/player.h"

#include <glm/glm.hpp>

#include <vector>

namespace MovementFigures {

struct Keys {
    bool forward = false;  // W held
    bool jump = false;     // space held
};

class MovementTrial {
public:
    // The player starts at `start` (world units) facing +z and falls onto the geometry.
    MovementTrial(std::vector<float> positions, glm::vec3 start);
    // One 60-Hz frame (dt = 1) with these keys down.
    void Frame(Keys keys);
    // Frames with no key down until the player stands, at most `limit`; false if it never does.
    bool Settle(int limit = 600);
    const Application::Player& GetPlayer() const { return player; }

private:
    std::vector<float> positions;
    Application::Player player;
    Keys held;
};

struct Jump {
    float apex = 0;   // world units above the floor
    int airtime = 0;  // frames from the jump until standing again
};
// A standing jump on a wide floor, the key held for `hold` frames (1: tapped).
Jump JumpOnFlatFloor(int hold);

// Test geometry in model units, nine floats per triangle, appended to `positions`.
void AddFloor(std::vector<float>& positions, float x0, float x1, float z0, float z1, float y);
// A wall across x in [x0, x1] at z, from `bottom` to `top`, with two corners stacked per triangle.
void AddWallAcrossZ(std::vector<float>& positions, float x0, float x1, float z, float bottom, float top);

}  // namespace MovementFigures
