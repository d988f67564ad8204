// The shipped room holds at every frame rate: the real player, driven through the input state, the
// virtual gamepad and Game::Update as the shell drives it, walks at full speed square into every
// upright wall it can stand in front of, at lateral positions 0.05 apart, and on slants of 30, 45 and
// 60 degrees into every convex corner, along lines 0.05 apart around the corner point, and passes
// none; standing still on any point of a floor seam, it sinks nowhere.
#include "engine/assets/model_conversion.h"
#include "stagewalk_check/room_walks.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SolidRoom : public ::testing::Test {
protected:
    std::unique_ptr<Engine::ModelData> room{Engine::ConvertObj(STAGEWALK_SOURCE_DIR "/game/data/room2.obj")};
};

TEST_F(SolidRoom, NoWallOrCornerIsPassedFromTenToSixtyFramesASecondAndBeyond) {
    ASSERT_FALSE(room->empty());
    StagewalkCheck::RoomWalks walks((*room)[0]->positions);
    std::vector<StagewalkCheck::WallApproach> approaches = walks.PlanApproaches(0.05f, 1000);
    ASSERT_GT(approaches.size(), 5000u) << "every parapet, pillar, step and facade, both ways";
    const std::vector<StagewalkCheck::WallApproach> corners = walks.PlanCornerApproaches(0.05f);
    ASSERT_GT(corners.size(), 1500u) << "the corners of the pillars, parapets, steps and diagonal tiles";
    approaches.insert(approaches.end(), corners.begin(), corners.end());
    for (const float dt : {1.0f, 1.05f, 1.5f, 2.0f, 2.5f, 3.0f, 4.0f, 6.0f, 10.0f, 30.0f, 60.0f}) {
        int passes = 0;
        for (const StagewalkCheck::WallApproach& a : approaches) {
            if (!walks.Passes(a, dt)) continue;
            if (passes++ == 0)
                ADD_FAILURE() << "dt " << dt << ": walked through from " << a.start.x << ", " << a.start.y
                              << ", " << a.start.z;
        }
        EXPECT_EQ(passes, 0) << "dt " << dt;
    }
}

TEST_F(SolidRoom, NoPlayerStandingOnAFloorSeamSinks) {
    ASSERT_FALSE(room->empty());
    StagewalkCheck::RoomWalks walks((*room)[0]->positions);
    const std::vector<StagewalkCheck::FloorPoint> points = walks.InnerFloorPoints(0.05f);
    ASSERT_GT(points.size(), 20000u);
    int sinks = 0;
    for (const StagewalkCheck::FloorPoint& p : points) sinks += walks.Sinks(p, 1.0f) ? 1 : 0;
    EXPECT_EQ(sinks, 0);
}

}  // namespace
