// The level "room2" against the rules the game's collision applies to it: walls are triangles whose
// normal y is exactly 0 in float arithmetic, floors are tested by strict point-in-triangle on x-z,
// and the player (feet + 0.25) is pushed by walls whose height range it is in. Positions are checked
// in world units, scaled by 8 after the y snap as the stage does.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "tools/generated_assets.h"

namespace {

using AssetTests::Triangle;

constexpr float kScale = 8.0f;

struct WorldTriangle {
    glm::vec3 a, b, c;
    glm::vec3 n;  // the game's normal: normalize((c - a) x (b - a))
    bool IsWall() const { return n.y == 0.0f; }
};

std::vector<WorldTriangle> LoadRoom() {
    std::vector<WorldTriangle> out;
    for (const Triangle& t : AssetTests::LoadObj(AssetTests::DataFile("room2.obj")).triangles) {
        WorldTriangle w{t.p[0] * kScale, t.p[1] * kScale, t.p[2] * kScale, {}};
        w.n = glm::normalize(glm::cross(w.c - w.a, w.b - w.a));
        out.push_back(w);
    }
    return out;
}

// The game's strict point-in-triangle test on the x-z plane.
bool InsideXZ(glm::vec2 p, glm::vec3 a3, glm::vec3 b3, glm::vec3 c3) {
    const glm::vec2 a(a3.x, a3.z), b(b3.x, b3.z), c(c3.x, c3.z);
    const bool s = ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) > 0;
    if ((((c.x - a.x) * (p.y - a.y) - (c.y - a.y) * (p.x - a.x)) > 0) == s) return false;
    return (((c.x - b.x) * (p.y - b.y) - (c.y - b.y) * (p.x - b.x)) > 0) == s;
}

// Heights of every floor or slope plane under (x, z), as the landing rule computes them.
std::vector<float> FloorHeights(const std::vector<WorldTriangle>& room, glm::vec2 p) {
    std::vector<float> heights;
    for (const WorldTriangle& t : room)
        if (!t.IsWall() && InsideXZ(p, t.a, t.b, t.c))
            heights.push_back((glm::dot(t.n, t.a) - t.n.x * p.x - t.n.z * p.y) / t.n.y);
    return heights;
}

std::optional<float> HighestFloor(const std::vector<WorldTriangle>& room, glm::vec2 p, float below) {
    std::optional<float> best;
    for (float h : FloorHeights(room, p))
        if (h <= below && (!best || h > *best)) best = h;
    return best;
}

bool SegmentsCross(glm::vec2 p, glm::vec2 q, glm::vec2 r, glm::vec2 s) {
    auto side = [](glm::vec2 a, glm::vec2 b, glm::vec2 c) {
        return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
    };
    const float r1 = side(p, q, r), s1 = side(p, q, s);
    if (r1 == 0.0f && s1 == 0.0f) {  // collinear: they cross only where they overlap
        auto overlap = [](float a0, float a1, float b0, float b1) {
            return std::max(std::min(a0, a1), std::min(b0, b1)) <=
                   std::min(std::max(a0, a1), std::max(b0, b1));
        };
        return overlap(p.x, q.x, r.x, s.x) && overlap(p.y, q.y, r.y, s.y);
    }
    return r1 * s1 <= 0 && side(r, s, p) * side(r, s, q) <= 0;
}

// A wall stands in the way of walking from `from` to `to` with the feet at `feetY` when its
// footprint crosses the path and its height range holds the probe point 0.25 above the feet.
bool WallInTheWay(const std::vector<WorldTriangle>& room, glm::vec2 from, glm::vec2 to, float feetY) {
    for (const WorldTriangle& t : room) {
        if (!t.IsWall()) continue;
        const float low = std::min({t.a.y, t.b.y, t.c.y}), high = std::max({t.a.y, t.b.y, t.c.y});
        if (feetY + 0.25f <= low || feetY + 0.25f >= high) continue;
        const glm::vec3 corners[3] = {t.a, t.b, t.c};
        for (int i = 0; i < 3; ++i) {
            const glm::vec3 p = corners[i], q = corners[(i + 1) % 3];
            if (SegmentsCross(from, to, {p.x, p.z}, {q.x, q.z}) && (p.x != q.x || p.z != q.z)) return true;
        }
    }
    return false;
}

class RoomGeometry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(room.empty()); }
    std::vector<WorldTriangle> room = LoadRoom();
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
        EXPECT_GT(glm::cross(t.b - t.a, t.c - t.a).y, 0.0f) << "triangle " << i << " faces down";
    }
}

TEST_F(RoomGeometry, SpawnPointFallsOntoAFloor) {
    const std::optional<float> floor = HighestFloor(room, {0.1f, -15.0f}, 10.0f);
    ASSERT_TRUE(floor.has_value());
    EXPECT_FLOAT_EQ(*floor, 0.0f);
}

TEST_F(RoomGeometry, PlayAreaStaysInsideTheFogRange) {
    for (const WorldTriangle& t : room)
        for (const glm::vec3& p : {t.a, t.b, t.c}) EXPECT_LE(glm::length(glm::vec2(p.x, p.z)), 48.0f);
}

struct Climb {
    const char* name;
    glm::vec2 top;     // a point on the raised surface
    glm::vec2 beside;  // a point on the floor next to it
};

class RoomClimbs : public RoomGeometry, public ::testing::WithParamInterface<Climb> {};

TEST_P(RoomClimbs, RaisedTopIsOneJumpUpBehindAWall) {
    const Climb& climb = GetParam();
    const std::optional<float> top = HighestFloor(room, climb.top, 100.0f);
    const std::optional<float> below = HighestFloor(room, climb.beside, 100.0f);
    ASSERT_TRUE(top && below);
    // A full jump lifts the feet about 1.6 model units; the landing needs them above the top.
    const float rise = (*top - *below) / kScale;
    EXPECT_GE(rise, 0.5f);
    EXPECT_LE(rise, 1.4f);
    EXPECT_TRUE(WallInTheWay(room, climb.beside, climb.top, *below)) << "nothing stops walking straight up";
}

INSTANTIATE_TEST_SUITE_P(Level, RoomClimbs,
                         ::testing::Values(Climb{"crate", {-17, -5}, {-17, -12}},
                                           Climb{"hut", {0, 28}, {0, 20}},
                                           Climb{"upperDeckFromLowerDeck", {-4, 18}, {-4, 8}}),
                         [](const ::testing::TestParamInfo<Climb>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RoomGeometry, RampClimbsGentlyFromTheLowerDeckToTheUpperDeck) {
    // Walking north along the ramp's middle: the floor under the feet rises without a jump, and
    // no wall stands across the way.
    const float x = 11.0f, step = 0.5f;
    float feet = 0.0f;
    for (float z = -24.0f; z <= 16.0f; z += step) {
        const std::optional<float> floor = HighestFloor(room, {x, z}, feet + 2.0f);
        ASSERT_TRUE(floor.has_value()) << "no floor at z = " << z;
        EXPECT_GE(*floor, feet - 1e-4f) << "the way drops at z = " << z;
        EXPECT_LE(*floor - feet, step * 0.5f + 1e-4f) << "too steep at z = " << z;
        EXPECT_FALSE(WallInTheWay(room, {x, z - step}, {x, z}, feet)) << "blocked at z = " << z;
        feet = *floor;
    }
    EXPECT_FLOAT_EQ(feet, 8.0f);
}

TEST_F(RoomGeometry, WestEdgeOfTheLowerDeckIsOpenOverTheVoid) {
    const glm::vec2 onDeck{-22.0f, -8.0f}, overVoid{-26.0f, -8.0f};
    ASSERT_TRUE(HighestFloor(room, onDeck, 1.0f).has_value());
    EXPECT_FALSE(WallInTheWay(room, onDeck, overVoid, 0.0f));
    EXPECT_TRUE(FloorHeights(room, overVoid).empty());
}

TEST_F(RoomGeometry, ParapetsBlockTheOtherEdgesOfTheLowerDeck) {
    EXPECT_TRUE(WallInTheWay(room, {0.0f, -24.0f}, {0.0f, -30.0f}, 0.0f));  // south
    EXPECT_TRUE(WallInTheWay(room, {20.0f, -8.0f}, {26.0f, -8.0f}, 0.0f));  // east
}

}  // namespace
