#include "collision/actor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using Application::Actor;
namespace Movement = Application::Movement;

namespace {

Actor MakeActor(glm::vec3 position, glm::vec3 velocity = glm::vec3(0.0f)) {
    Actor actor;
    actor.position = position;
    actor.velocity = velocity;
    actor.radius = 0.5f;
    return actor;
}

// The wall x = 10 spanning z in [-5, 5] and y in [0, 10].
const glm::vec3 WallA(10, 0, -5), WallB(10, 0, 5), WallC(10, 10, 0);

TEST(ActorCollisionTest, LandingWindowOnAFloorOfEitherWinding) {
    const struct {
        float y, vy, dt;
        bool lands;
    } cases[] = {{3.19f, -0.5f, 1, true},   {3.2f, -0.5f, 1, false}, {2.01f, -0.5f, 1, true},
                 {2.0f, -0.5f, 1, false},   {1.1f, -0.5f, 2, true},  {2.5f, -0.01f, 1, true},
                 {2.48f, -0.01f, 1, false}, {3.1f, 0.0f, 1, false},  {2.9f, 0.3f, 1, false}};
    const glm::vec3 a(-10, 3, -10), b(10, 3, -10), c(10, 3, 10);
    for (bool flipped : {false, true}) {
        for (const auto& t : cases) {
            Actor actor = MakeActor({2.0f, t.y, 1.0f}, {0.1f, t.vy, 0.2f});
            flipped ? actor.CollideTriangle(a, c, b, t.dt) : actor.CollideTriangle(a, b, c, t.dt);
            EXPECT_EQ(actor.onGround, t.lands) << "y " << t.y << " vy " << t.vy << " flipped " << flipped;
            EXPECT_EQ(actor.position, glm::vec3(2.0f, t.lands ? 3.0f : t.y, 1.0f));
            EXPECT_EQ(actor.velocity, glm::vec3(0.1f, t.lands ? 0.0f : t.vy, 0.2f));
        }
    }
    Actor outside = MakeActor({1.0f, 3.1f, 2.0f}, {0, -0.5f, 0});  // beyond the hypotenuse x = z
    outside.CollideTriangle(a, b, c, 1.0f);
    EXPECT_FALSE(outside.onGround);
}

TEST(ActorCollisionTest, PointInTriangleIsStrictAndDegenerateTrianglesHoldNothing) {
    const struct {
        glm::vec2 p, a, b, c;
        bool inside;
    } cases[] = {
        {{1, 1}, {0, 0}, {4, 0}, {0, 4}, true},  {{1, 1}, {0, 0}, {0, 4}, {4, 0}, true},
        {{3, 3}, {0, 0}, {4, 0}, {0, 4}, false}, {{0, 0}, {0, 0}, {4, 0}, {0, 4}, false},
        {{2, 0}, {0, 0}, {4, 0}, {0, 4}, false}, {{2, 2}, {0, 0}, {4, 0}, {0, 4}, false},
        {{2, 2}, {0, 0}, {0, 4}, {4, 0}, true},  // an edge point counts by winding
        {{1, 1}, {0, 0}, {1, 1}, {2, 2}, false}, {{1, 0}, {0, 0}, {1, 1}, {2, 2}, false},
        {{0, 0}, {0, 0}, {0, 0}, {0, 0}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& t = cases[i];
        EXPECT_EQ(Actor::PointInTriangle(t.p, t.a, t.b, t.c), t.inside) << "case " << i;
    }
    Actor actor = MakeActor({1.0f, 0.1f, 1.0f}, {0.3f, -0.5f, 0.3f});
    actor.CollideTriangle({0, 0, 0}, {2, 0, 2}, {4, 0, 4}, 1.0f);
    actor.CollideTriangle({1, -1, 1}, {1, 5, 1}, {1, 2, 1}, 1.0f);
    EXPECT_EQ(actor.position, glm::vec3(1.0f, 0.1f, 1.0f));
    EXPECT_FALSE(actor.onGround);
}

TEST(ActorCollisionTest, AxisWallsPushOutToTheRadiusAndStopThatAxis) {
    const glm::vec3 v(0.3f, -0.1f, 0.4f);
    const struct {
        const char* name;
        glm::vec3 a, b, c, start, end, velocity;
    } cases[] = {
        {"x near side", WallA, WallB, WallC, {9.7f, 1, 0}, {9.5f, 1, 0}, {0, v.y, v.z}},
        {"x far side", WallA, WallB, WallC, {10.2f, 1, 0}, {10.5f, 1, 0}, {0, v.y, v.z}},
        {"x out of reach", WallA, WallB, WallC, {9.4f, 1, 0}, {9.4f, 1, 0}, v},
        {"probe a quarter up", WallA, WallB, WallC, {9.7f, -0.2f, 0}, {9.5f, -0.2f, 0}, {0, v.y, v.z}},
        {"probe below the wall", WallA, WallB, WallC, {9.7f, -0.3f, 0}, {9.7f, -0.3f, 0}, v},
        {"z-wall", {-5, 0, 10}, {5, 0, 10}, {0, 10, 10}, {0, 1, 9.7f}, {0, 1, 9.5f}, {v.x, v.y, 0}},
    };
    for (const auto& t : cases) {
        Actor actor = MakeActor(t.start, v);
        actor.CollideTriangle(t.a, t.b, t.c, 1.0f);
        EXPECT_LT(glm::length(actor.position - t.end), 1e-5f) << t.name;
        EXPECT_EQ(actor.velocity, t.velocity) << t.name;
    }
}

TEST(ActorCollisionTest, DiagonalWallPushesAlongItsNormalAndIntoTheVelocity) {
    const glm::vec3 v(0.05f, -0.2f, 0.1f), start(5.2f, 1.0f, 4.8f);  // 0.2 sqrt 2 from x = z
    Actor actor = MakeActor(start, v);
    actor.CollideTriangle({0, 0, 0}, {10, 0, 10}, {5, 10, 5}, 1.0f);
    const float push = (0.5f - 0.2f * std::sqrt(2.0f)) / std::sqrt(2.0f);
    EXPECT_LT(glm::length(actor.position - start - glm::vec3(push, 0, -push)), 1e-5f);
    EXPECT_LT(glm::length(actor.velocity - v - glm::vec3(push, 0, -push)), 1e-5f);
}

TEST(ActorCollisionTest, BeyondTheSegmentOnlyTheEndPointPushes) {
    Actor near = MakeActor({10.3f, 1.0f, 10.0f});  // foot past (10, 10), end point 0.3 away
    near.PushFromWall({0, 0, 0}, {10, 0, 10}, {5, 10, 5});
    EXPECT_LT(glm::length(near.position - glm::vec3(10.5f, 1.0f, 10.0f)), 1e-5f);
    Actor far = MakeActor({10.6f, 1.0f, 10.0f});
    far.PushFromWall({0, 0, 0}, {10, 0, 10}, {5, 10, 5});
    EXPECT_EQ(far.position, glm::vec3(10.6f, 1.0f, 10.0f));
}

TEST(ActorCollisionTest, OutsideBothProjectionsOnlyTheUprightEdgePushesAndOnlyBeyondTheEndInFront) {
    // One half of the wall x = 10, facing -x: its upright edge stands at z = 5, from y 0 to 10; the
    // other end of its footprint, (10, -5), is a single corner.
    const glm::vec3 a(10, 0, -5), b(10, 0, 5), c(10, 10, 5), v(0.1f, -0.1f, 0.1f);
    const struct {
        const char* name;
        glm::vec3 start;
        bool pushed;
    } cases[] = {
        {"beyond the end, closer than the radius", {9.8f, 1, 5.2f}, true},
        {"beyond the end, in line with the wall", {10.0f, 1, 5.2f}, true},
        {"beyond the end, past the radius", {9.6f, 1, 5.4f}, false},
        {"beyond the end, behind the wall", {10.2f, 1, 5.2f}, false},
        {"probe above the edge", {9.8f, 9.8f, 5.2f}, false},
        {"probe below the edge", {9.8f, -0.3f, 5.2f}, false},
        // Above a sloping wall's top beside its high end: a walk up a ramp beside its open side.
        {"above the diagonal, beside the edge", {9.8f, 9.7f, 4.8f}, false},
        {"beyond the single corner", {9.9f, 0.5f, -5.1f}, false},
    };
    for (const auto& t : cases) {
        Actor actor = MakeActor(t.start, v);
        actor.CollideTriangle(a, b, c, 1.0f);
        const glm::vec3 moved = actor.position - t.start;
        EXPECT_EQ(actor.position.y, t.start.y) << t.name;
        EXPECT_EQ(actor.velocity.y, v.y) << t.name;
        if (!t.pushed) {
            EXPECT_EQ(actor.position, t.start) << t.name;
            EXPECT_EQ(actor.velocity, v) << t.name;
            continue;
        }
        // The push takes away the velocity into the edge and adds nothing.
        const glm::vec2 out = glm::normalize(glm::vec2(moved.x, moved.z));
        const glm::vec2 before(v.x, v.z), after(actor.velocity.x, actor.velocity.z);
        EXPECT_LT(glm::length(after - (before - out * std::fmin(glm::dot(before, out), 0.0f))), 1e-6f)
            << t.name;
        const glm::vec2 from(t.start.x - 10.0f, t.start.z - 5.0f),
            to(actor.position.x - 10.0f, actor.position.z - 5.0f);
        EXPECT_NEAR(glm::length(to), 0.5f, 1e-5f) << t.name;
        EXPECT_NEAR(glm::dot(glm::normalize(from), glm::normalize(to)), 1.0f, 1e-5f) << t.name;
    }
}

TEST(ActorCollisionTest, FacesTooSteepToWalkPushOutAtTheProbeFromEitherSideAndNeverLand) {
    // The plane through x = 10 at the feet' height 1, leaning 10 degrees towards +x: at the probe
    // (y 1.25) it stands at x = 10 + 0.25 tan 10. A quad of two triangles, z in [-5, 5], y in [0, 10].
    const float lean = std::tan(10.0f * 3.14159265f / 180.0f), at = 10.0f + (1.25f - 1.0f) * lean;
    auto x = [&](float y) { return 10.0f + (y - 1.0f) * lean; };
    const glm::vec3 a(x(0), 0, -5), b(x(0), 0, 5), c(x(10), 10, 5), d(x(10), 10, -5);
    const glm::vec3 v(0.3f, -0.4f, 0.1f);
    const struct {
        const char* name;
        glm::vec3 start, velocity;
        float endX, endVX;
    } cases[] = {
        {"in front, closer than the radius", {at - 0.3f, 1, 0}, v, at - 0.5f, 0},
        {"in front, moving away", {at - 0.3f, 1, 0}, {-0.3f, -0.4f, 0.1f}, at - 0.5f, -0.3f},
        {"behind (no thickness)", {at + 0.2f, 1, 0}, {-0.3f, -0.4f, 0.1f}, at + 0.5f, 0},
        {"past the radius", {at - 0.6f, 1, 0}, v, at - 0.6f, 0.3f},
        {"the probe above the top", {x(10) - 0.2f, 9.9f, 0}, v, x(10) - 0.2f, 0.3f},
        {"the probe below the bottom", {x(0) - 0.2f, -0.3f, 0}, v, x(0) - 0.2f, 0.3f},
    };
    for (const auto& t : cases) {
        for (bool flipped : {false, true}) {
            Actor actor = MakeActor(t.start, t.velocity);
            flipped ? actor.CollideTriangle(a, c, b, 1.0f) : actor.CollideTriangle(a, b, c, 1.0f);
            actor.CollideTriangle(a, c, d, 1.0f);
            EXPECT_NEAR(actor.position.x, t.endX, 1e-5f) << t.name;
            EXPECT_NEAR(actor.velocity.x, t.endVX, 1e-5f) << t.name;
            EXPECT_EQ(actor.position.y, t.start.y) << t.name;
            EXPECT_EQ(actor.velocity.y, t.velocity.y) << t.name;
            EXPECT_FALSE(actor.onGround) << t.name;
        }
    }
    // Exactly on the cut the front decides: the game's normal (c - a) x (b - a) points to the back.
    Actor on = MakeActor({at, 1, 0});
    on.CollideTriangle(a, b, c, 1.0f);
    EXPECT_NEAR(on.position.x, at + (glm::cross(c - a, b - a).x < 0 ? 0.5f : -0.5f), 1e-5f);
    // A ramp rising exactly the walkable limit is a floor; a little steeper, a wall.
    for (const float rise : {Movement::WalkableRise, Movement::WalkableRise * 1.01f}) {
        Actor falling = MakeActor({1.0f, 1.0f * rise + 0.1f, 0.0f}, {0.2f, -0.5f, 0.0f});
        falling.CollideTriangle({0, 0, -5}, {0, 0, 5}, {4, 4 * rise, 5}, 1.0f);
        EXPECT_EQ(falling.onGround, rise == Movement::WalkableRise) << rise;
    }
}

TEST(ActorCollisionTest, AnEdgePushNeverThrowsAFallingPlayerFurtherThanThePush) {
    // A parapet's convex corner at the origin, walls running +x and +z, 1 high, each wall's faces
    // with an upright edge at the corner; a player falls past it diagonally outside, 0.2 from the
    // corner, its probe reaching the walls' height at once.
    const std::vector<glm::vec3> walls = {{0, 0, 0}, {0, 1, 0}, {4, 0, 0}, {0, 0, 0}, {0, 0, 4}, {0, 1, 0}};
    Actor actor = MakeActor({-0.1414f, 1.2f, -0.1414f}, {0.0f, -0.5f, 0.0f});
    actor.acceleration = glm::vec3(Movement::WalkAcceleration, Movement::Gravity, Movement::WalkAcceleration);
    actor.targetVelocity.y = Movement::FallSpeed;
    const glm::vec2 start(actor.position.x, actor.position.z);
    for (int step = 0; step < 120; ++step) {
        actor.Update(1.0f);
        for (size_t i = 0; i < walls.size(); i += 3)
            actor.CollideTriangle(walls[i], walls[i + 1], walls[i + 2], 1.0f);
    }
    EXPECT_LT(glm::length(glm::vec2(actor.position.x, actor.position.z) - start), 0.5f - 0.2f + 1e-4f);
}

TEST(ActorCollisionTest, FootprintEndsTakeTheFirstCornerOnTies) {
    // a and b share the smallest x: with a first the footprint is (0, 0)-(10, 10), 0.14 away;
    // with b first it is (0, 4)-(10, 10), far from the actor.
    Actor first = MakeActor({5.2f, 1.0f, 5.0f});
    first.PushFromWall({0, 0, 0}, {0, 0, 4}, {10, 0, 10});
    EXPECT_GT(first.position.x, 5.2f);
    Actor swapped = MakeActor({5.2f, 1.0f, 5.0f});
    swapped.PushFromWall({0, 0, 4}, {0, 0, 0}, {10, 0, 10});
    EXPECT_EQ(swapped.position, glm::vec3(5.2f, 1.0f, 5.0f));
}

TEST(ActorCollisionTest, OnlyTheFirstEndInReachPushes) {
    const struct {
        glm::vec4 ends;  // x1, z1, x2, z2
        glm::vec2 moved;
    } cases[] = {
        {{0.3f, 0, -0.2f, 0}, {-0.2f, 0}}, {{3, 0, 0, -0.4f}, {0, 0.1f}}, {{0.5f, 0, 0, -0.6f}, {0, 0}}};
    for (const auto& t : cases) {
        Actor actor = MakeActor({0.0f, 2.0f, 0.0f});
        actor.PushFromEnds(t.ends.x, t.ends.y, t.ends.z, t.ends.w);
        EXPECT_LT(glm::length(actor.position - glm::vec3(t.moved.x, 2, t.moved.y)), 1e-6f) << t.ends.x;
        EXPECT_LT(glm::length(actor.velocity - glm::vec3(t.moved.x, 0, t.moved.y)), 1e-6f) << t.ends.x;
    }
}

}  // namespace
