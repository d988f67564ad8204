// movement-figures: runs the real Player against test geometry and prints what a level designer
// needs to know, in model units (what the level map and the builder use) and world units (the game
// draws and collides the room at 8 times model size). Deterministic; takes no arguments.
#include "movement_trial.h"

#include "common/step_rate.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using MovementFigures::Jump;
using MovementFigures::Keys;
using MovementFigures::MovementTrial;

constexpr float kScale = 8.0f;  // world units per model unit
constexpr float kFramesPerSecond = Common::StepsPerSecond;
constexpr float kSearchStep = 1.0f / 64.0f;  // model units between heights or gaps tried
constexpr float kCutSteps = 12.0f;           // a jump let go after 0.2 s

float TopWalkingSpeed() {
    std::vector<float> floor;
    MovementFigures::AddFloor(floor, -10, 10, -10, 10, 0);
    MovementTrial trial(floor, {0, 1, -60});
    trial.Settle();
    float before = 0;
    for (int frame = 0; frame < 120; ++frame) {
        before = trial.GetPlayer().position.z;
        trial.Frame({true, false});
    }
    return trial.GetPlayer().position.z - before;
}

// Walks north (+z) towards a raised floor `rise` model units up whose edge is at z = 0 and says
// whether the player ends up standing on it; with `jump`, it jumps once pressed against the edge.
bool ReachesLedge(float rise, bool jump) {
    std::vector<float> level;
    MovementFigures::AddFloor(level, -4, 4, -4, 0, 0);
    MovementFigures::AddFloor(level, -4, 4, 0, 16, rise);
    MovementFigures::AddWallAcrossZ(level, -4, 4, 0, 0, rise);
    MovementTrial trial(level, {0, 1, -16});
    if (!trial.Settle()) return false;
    for (int frame = 0; frame < 300; ++frame) trial.Frame({true, jump && frame >= 120 && frame < 150});
    const Application::Player& player = trial.GetPlayer();
    return player.onGround && player.position.y == rise * kScale;
}

// Runs north and jumps at the last moment off a floor ending at z = 0 towards one starting `gap`
// model units further at the same height; true when the player lands on it.
bool ClearsGap(float gap) {
    std::vector<float> level;
    MovementFigures::AddFloor(level, -4, 4, -12, 0, 0);
    MovementFigures::AddFloor(level, -4, 4, gap, gap + 8, 0);
    MovementTrial trial(level, {0, 1, -80});
    if (!trial.Settle()) return false;
    bool jumped = false;
    for (int frame = 0; frame < 600; ++frame) {
        const Application::Player& player = trial.GetPlayer();
        // Space goes down on the last frame over the floor and stays down for a full jump.
        jumped = jumped || (player.onGround && player.position.z + player.velocity.z >= 0.0f);
        trial.Frame({true, jumped});
        if (player.position.y < -8.0f) return false;
        if (player.onGround && player.position.z > gap * kScale) return true;
    }
    return false;
}

// The largest multiple of kSearchStep up to `limit` for which `works` holds, every smaller one holding too.
float LargestWorking(const std::function<bool(float)>& works, float limit) {
    float best = 0;
    for (float value = kSearchStep; value <= limit && works(value); value += kSearchStep) best = value;
    return best;
}

void Line(const char* what, float world, const char* unit) {
    std::printf("%-46s %9.4f model  %9.4f world%s\n", what, world / kScale, world, unit);
}

}  // namespace

int main() {
    const Jump full = MovementFigures::JumpOnFlatFloor(1000), tapped = MovementFigures::JumpOnFlatFloor(1);
    const float speed = TopWalkingSpeed();
    const float gap = LargestWorking(ClearsGap, 4.0f);
    // Steps are searched finer: they are a fraction of a world unit.
    float step = 0;
    for (float rise = 1.0f / 1024; rise < 1.0f && ReachesLedge(rise, false); rise += 1.0f / 1024) step = rise;
    const float ledge = LargestWorking([](float rise) { return ReachesLedge(rise, true); }, 4.0f);

    std::printf("Movement figures of the real Player (%d frames a second; 1 model unit = 8 world units)\n",
                Common::StepsPerSecond);
    Line("apex of a full jump (space held)", full.apex, "");
    Line("apex of a tapped jump (space for one frame)", tapped.apex, "");
    std::printf("%-46s %9d frames = %.3f s (tapped: %d frames)\n", "airtime of a full jump on flat ground",
                full.airtime, full.airtime / kFramesPerSecond, tapped.airtime);
    Line("top walking speed, per frame", speed, "");
    Line("top walking speed, per second", speed * kFramesPerSecond, "");
    Line("longest gap a running jump clears (level)", gap * kScale, "");
    Line("highest step walked up without jumping", step * kScale, "");
    Line("highest ledge a jump lands on (from its foot)", ledge * kScale, "");

    // The world moves in 60-Hz steps at any frame rate; a frame only samples the path, and a key
    // can be let go no sooner than one frame after it went down.
    std::printf("\nAt lower frame rates (world units; a jump's apex as the frames sample it)\n");
    std::printf("%6s %6s %10s %16s %10s %14s\n", "fps", "dt", "full jump", "let go at 0.2 s", "tapped",
                "96 counts turn");
    for (const float dt : {1.0f, 1.5f, 2.0f, 3.0f, 4.0f, 6.0f}) {
        const float cut = MovementFigures::JumpOnFlatFloor(static_cast<int>(kCutSteps / dt), dt).apex;
        std::vector<float> floor;
        MovementFigures::AddFloor(floor, -10, 10, -10, 10, 0);
        MovementTrial turn(floor, {0, 1, 0});
        turn.Frame({false, false, {Application::Movement::MouseCountsPerRadian, 0}}, dt);
        std::printf("%6.0f %6.1f %10.3f %16.3f %10.3f %11.4f rad\n", kFramesPerSecond / dt, dt,
                    MovementFigures::JumpOnFlatFloor(1000, dt).apex, cut,
                    MovementFigures::JumpOnFlatFloor(1, dt).apex, -turn.GetPlayer().rotation.y);
    }
    return 0;
}
