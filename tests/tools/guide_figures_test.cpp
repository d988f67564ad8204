// The jump figures the modding guide quotes, measured on the real player as the movement-figures
// tool measures them: a change to the movement that leaves the guide behind fails here.
#include "application/stage.h"
#include "movement_trial.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using MovementFigures::JumpOnFlatFloor;
using TestSupport::ReadFile;

std::string Figure(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

TEST(GuideFiguresTest, JumpFiguresInTheGuideAreThePlayers) {
    const MovementFigures::Jump held = JumpOnFlatFloor(1000), tapped = JumpOnFlatFloor(1);
    const float full = held.apex, tap = tapped.apex;
    const int fullFrames = held.airtime, tapFrames = tapped.airtime;
    const float scale = Application::Stage::RoomScale;
    const std::string quoted[] = {
        Figure("| full jump | %.2f", full) + Figure(" | %.3f", full / scale) +
            Figure(" | %.0f |", fullFrames),
        Figure("| tapped jump | %.2f", tap) + Figure(" | %.3f", tap / scale) + Figure(" | %.0f |", tapFrames),
        Figure("%.1f world units", fullFrames * 0.2) +
            Figure(" (%.2f model units)", fullFrames * 0.2 / scale),
    };
    const std::string guide = ReadFile(std::string(STAGEWALK_SOURCE_DIR) + "/docs/modding.md");
    for (const std::string& figure : quoted) EXPECT_NE(guide.find(figure), std::string::npos) << figure;
}

}  // namespace
