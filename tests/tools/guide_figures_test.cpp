// The jump figures the modding and level guides quote, measured on the real player as the movement-figures
// tool measures them: a change to the movement that leaves a guide behind fails here.
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

TEST(GuideFiguresTest, JumpFiguresInTheGuidesAreThePlayers) {
    const MovementFigures::Jump held = JumpOnFlatFloor(1000), tapped = JumpOnFlatFloor(1);
    const float full = held.apex, tap = tapped.apex;
    const int fullFrames = held.airtime, tapFrames = tapped.airtime;
    const float scale = Application::Stage::RoomScale;
    const struct {
        const char* page;
        std::string figure;
    } quoted[] = {
        {"modding.md", Figure("| full jump | %.2f", full) + Figure(" | %.3f", full / scale) +
                           Figure(" | %.0f |", fullFrames)},
        {"modding.md", Figure("| tapped jump | %.2f", tap) + Figure(" | %.3f", tap / scale) +
                           Figure(" | %.0f |", tapFrames)},
        {"modding.md", Figure("%.1f world units", fullFrames * 0.2) +
                           Figure(" (%.2f model units)", fullFrames * 0.2 / scale)},
        {"levels.md",
         Figure("| apex of a full jump (space held) | %.4f", full / scale) + Figure(" | %.3f |", full)},
        {"levels.md", Figure("| apex of a tapped jump (space for one frame) | %.4f", tap / scale) +
                          Figure(" | %.3f |", tap)},
        {"levels.md", Figure("| airtime of a full jump on flat ground | %.0f frames", fullFrames)},
    };
    for (const auto& q : quoted) {
        const std::string page = ReadFile(std::string(STAGEWALK_SOURCE_DIR) + "/docs/" + q.page);
        EXPECT_NE(page.find(q.figure), std::string::npos) << q.page << ": " << q.figure;
    }
}

}  // namespace
