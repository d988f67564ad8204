// The jump and the turn of the real player, through the shell's input path and Game::Update, at 60
// down to 10 frames a second: a full jump and one let go after 0.2 s rise as high as at 60 (within
// what the coarser frames sample of the arc), and 96 mouse counts turn one radian whatever the frame
// took. A tap lasts at least a frame, so it may rise higher when frames are long.
#include "movement_trial.h"

#include <gtest/gtest.h>

namespace {

using MovementFigures::JumpOnFlatFloor;

TEST(FrameRateTest, JumpsAndTurnsAreTheSameFromSixtyToTenFramesASecond) {
    const float full = JumpOnFlatFloor(1000).apex, cut = JumpOnFlatFloor(12).apex;
    for (const float dt : {1.0f, 1.5f, 2.0f, 3.0f, 4.0f, 6.0f}) {
        EXPECT_NEAR(JumpOnFlatFloor(1000, dt).apex, full, 0.02f * full) << "dt " << dt;
        EXPECT_NEAR(JumpOnFlatFloor(static_cast<int>(12 / dt), dt).apex, cut, 0.03f * cut) << "dt " << dt;
        std::vector<float> floor;
        MovementFigures::AddFloor(floor, -10, 10, -10, 10, 0);
        MovementFigures::MovementTrial trial(floor, {0, 1, 0});
        trial.Frame({false, false, {96, -48}}, dt);
        EXPECT_EQ(trial.GetPlayer().rotation.y, -1.0f) << "dt " << dt;
        EXPECT_EQ(trial.GetPlayer().rotation.x, 0.5f) << "dt " << dt;
    }
}

}  // namespace
