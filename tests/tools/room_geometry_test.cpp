// The shipped level "room2" against the rules the game's collision and drawing apply to it: walls
// are triangles whose normal y is exactly 0 in float arithmetic, floors face up, the spawn point
// falls onto a floor and nothing lies beyond the far plane. Positions are checked in world units,
// scaled by 8 after the y snap as the stage does. The route through the level is played in
// tests/application/level_route_gl_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tools/room_mesh.h"

namespace {

using AssetTests::WorldTriangle;

class RoomGeometry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(room.empty()); }
    std::vector<WorldTriangle> room = AssetTests::LoadRoom(AssetTests::DataFile("room2.obj"));
};

TEST_F(RoomGeometry, TriangleCountStaysModest) { EXPECT_LE(room.size(), 400u); }

TEST_F(RoomGeometry, EveryTriangleIsClearlyAWallOrClearlyAFloor) {
    // A nearly vertical triangle with a tiny non-zero normal y would be landed on as a floor.
    for (std::size_t i = 0; i < room.size(); ++i)
        if (!room[i].IsWall()) {
            EXPECT_GE(std::abs(room[i].n.y), 0.5f) << "triangle " << i;
        }
}

TEST_F(RoomGeometry, WallsHaveTwoCornersStackedExactlyVertically) {
    for (std::size_t i = 0; i < room.size(); ++i) {
        const WorldTriangle& t = room[i];
        if (!t.IsWall()) continue;
        auto stacked = [](glm::vec3 p, glm::vec3 q) { return p.x == q.x && p.z == q.z && p.y != q.y; };
        EXPECT_TRUE(stacked(t.a, t.b) || stacked(t.b, t.c) || stacked(t.a, t.c)) << "triangle " << i;
    }
}

TEST_F(RoomGeometry, HasAxisAlignedAndDiagonalWalls) {
    int axisAligned = 0, diagonal = 0;
    for (const WorldTriangle& t : room) {
        if (!t.IsWall()) continue;
        if (std::abs(t.n.x) > 0.1f && std::abs(t.n.z) > 0.1f)
            ++diagonal;
        else
            ++axisAligned;
    }
    EXPECT_GT(axisAligned, 0);
    EXPECT_GT(diagonal, 0);
}

TEST_F(RoomGeometry, HasNoCeilings) {
    // The landing rule ignores the normal's direction: an underside would catch a jumping player.
    for (std::size_t i = 0; i < room.size(); ++i) {
        const WorldTriangle& t = room[i];
        if (t.IsWall()) continue;
        EXPECT_GT(t.Front().y, 0.0f) << "triangle " << i << " faces down";
    }
}

TEST_F(RoomGeometry, SpawnPointFallsOntoTheTerrace) {
    EXPECT_EQ(AssetTests::HighestFloor(room, {0.1f, -15.0f}), 8.0f);
}

TEST_F(RoomGeometry, NothingLiesBeyondTheFarPlaneFromAnywhereInTheLevel) {
    // Drawn from any corner, every other corner stays nearer than the far plane (200), with room
    // for the eye above the floor.
    float farthest = 0;
    for (const WorldTriangle& t : room)
        for (const WorldTriangle& u : room)
            for (const glm::vec3& p : {t.a, t.b, t.c}) farthest = std::max(farthest, glm::length(p - u.a));
    EXPECT_LT(farthest, 190.0f);
}

}  // namespace
