// The prepared, skipping collision pass against the plain one: random walks through generated
// levels and the shipped room must give bit-identical actors frame by frame, and the boxes that
// allow skipping must hold for awkward triangles (slivers, near-vertical slopes, thin walls).
#include "collision/collision_mesh.h"
#include "application/stage.h"
#include "collision/actor.h"
#include "engine/assets/model_conversion.h"
#include "support/level_generator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <string>

using Application::Actor;
using namespace Application::Movement;
using Application::CollisionBounds;
using Application::CollisionMesh;
using Application::CollisionTriangle;
using Application::Stage;

namespace {

constexpr float Scale = 8.0f;

bool SameBits(const Actor& a, const Actor& b) {
    return std::memcmp(&a.position, &b.position, sizeof a.position) == 0 &&
           std::memcmp(&a.velocity, &b.velocity, sizeof a.velocity) == 0 && a.onGround == b.onGround;
}

std::string Describe(const Actor& a) {
    char text[200];
    std::snprintf(text, sizeof text, "p(%.9g %.9g %.9g) v(%.9g %.9g %.9g) ground %d", a.position.x,
                  a.position.y, a.position.z, a.velocity.x, a.velocity.y, a.velocity.z, a.onGround ? 1 : 0);
    return text;
}

// Places worth walking into: every corner of every vertical triangle (wall ends, corners, pillar
// edges), plus the generator's own spots.
std::vector<glm::vec3> Spots(const std::vector<float>& positions, std::vector<glm::vec3> spots) {
    for (size_t at = 0; at + 9 <= positions.size(); at += 9) {
        const glm::vec3 a(positions[at], positions[at + 1], positions[at + 2]);
        const glm::vec3 b(positions[at + 3], positions[at + 4], positions[at + 5]);
        const glm::vec3 c(positions[at + 6], positions[at + 7], positions[at + 8]);
        if (glm::cross(c - a, b - a).y != 0.0f) continue;
        for (const glm::vec3& corner : {a, b, c}) spots.push_back(corner * Scale);
    }
    return spots;
}

struct WalkResult {
    int frames = 0;
    int landings = 0;
    int pushes = 0;
};

// Walks two identical actors for `frames` frames with the same random input; one is resolved by
// the plain pass over `positions`, the other by the prepared mesh. Stops at the first difference.
WalkResult Walk(const std::vector<float>& positions, const std::vector<glm::vec3>& spots, uint32_t seed,
                int frames) {
    CollisionMesh mesh;
    mesh.Build(positions, Scale);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    auto chance = [&](float p) { return unit(random) < p; };
    auto spot = [&] { return spots[random() % spots.size()]; };

    Actor plain;
    plain.radius = Radius;
    plain.acceleration = glm::vec3(WalkAcceleration, Gravity, WalkAcceleration);
    plain.targetVelocity.y = FallSpeed;
    plain.position = spot() + glm::vec3(0.0f, 3.0f, 0.0f);
    Actor fast = plain;
    auto both = [&](auto change) {
        change(plain);
        change(fast);
    };

    WalkResult result;
    glm::vec2 stick(0.0f);
    for (int frame = 0; frame < frames; ++frame) {
        const float dt = chance(0.85f) ? 1.0f : 0.25f + 2.75f * unit(random);
        if (chance(0.04f)) {
            const float angle = unit(random) * 6.2831853f;
            const float magnitude = chance(0.1f) ? 5.0f : unit(random);
            stick = glm::vec2(std::cos(angle), std::sin(angle)) * (WalkSpeed * magnitude);
        }
        if (chance(0.01f)) {
            // Into a wall, a corner or a pillar, moving at it from close by.
            const glm::vec3 to = spot();
            const glm::vec3 off(unit(random) - 0.5f, unit(random) * 0.5f, unit(random) - 0.5f);
            both([&](Actor& a) {
                a.position = to + off;
                a.velocity = glm::vec3(-off.x, a.velocity.y, -off.z) * 0.5f;
            });
            stick = glm::vec2(-off.x, -off.z);
        }
        if (chance(0.004f)) both([](Actor& a) { a.position.y += 40.0f; });  // a long fall
        if (chance(0.004f)) {
            const float radius = std::vector<float>{0.5f, 0.25f, 1.0f, 2.5f}[random() % 4];
            both([&](Actor& a) { a.radius = radius; });
        }
        const bool jump = chance(0.03f);
        both([&](Actor& a) {
            a.targetVelocity.x = stick.x;
            a.targetVelocity.z = stick.y;
            if (jump && a.onGround) a.velocity.y = JumpSpeed;
            if (a.position.y < RespawnDepth) a.position = spots[0];
            a.Update(dt);
        });
        const glm::vec3 before = plain.position;
        Stage::CollideWithTriangles(&plain, positions, dt);
        mesh.Collide(&fast, dt);
        if (!SameBits(plain, fast)) {
            ADD_FAILURE() << "seed " << seed << " frame " << frame << "\n plain " << Describe(plain)
                          << "\n fast  " << Describe(fast);
            return result;
        }
        result.frames = frame + 1;
        result.landings += plain.onGround ? 1 : 0;
        result.pushes += (plain.position.x != before.x || plain.position.z != before.z) ? 1 : 0;
    }
    return result;
}

TEST(CollisionMeshTest, RandomWalksThroughGeneratedLevelsMatchThePlainPassBitForBit) {
    const struct {
        size_t triangles;
        int frames;
    } levels[] = {{1000, 6000}, {10000, 1500}};
    for (const auto& level : levels) {
        for (uint32_t seed : {1u, 2u, 3u, 4u}) {
            const TestSupport::GeneratedLevel generated = TestSupport::GenerateLevel(level.triangles, seed);
            const WalkResult walk = Walk(generated.positions, Spots(generated.positions, generated.spots),
                                         seed * 7919u, level.frames);
            ASSERT_EQ(walk.frames, level.frames) << level.triangles << " triangles, seed " << seed;
            // The walk must actually land and be pushed often, or it proves little.
            EXPECT_GT(walk.landings, level.frames / 8) << level.triangles << " seed " << seed;
            EXPECT_GT(walk.pushes, level.frames / 50) << level.triangles << " seed " << seed;
        }
    }
}

TEST(CollisionMeshTest, RandomWalksThroughTheShippedRoomMatchThePlainPassBitForBit) {
    std::unique_ptr<Engine::ModelData> model(Engine::ConvertObj(STAGEWALK_SOURCE_DIR "/game/data/room2.obj"));
    ASSERT_FALSE(model->empty());
    const std::vector<float>& positions = (*model)[0]->positions;
    const std::vector<glm::vec3> spots = Spots(positions, {glm::vec3(0.1f, 10.0f, -15.0f)});
    for (uint32_t seed : {11u, 12u, 13u, 14u, 15u}) {
        const WalkResult walk = Walk(positions, spots, seed, 5000);
        ASSERT_EQ(walk.frames, 5000) << "seed " << seed;
        EXPECT_GT(walk.landings, 500) << "seed " << seed;
        EXPECT_GT(walk.pushes, 100) << "seed " << seed;
    }
}

TEST(CollisionMeshTest, SkipsMostOfALargeLevel) {
    const TestSupport::GeneratedLevel level = TestSupport::GenerateLevel(20000, 5);
    CollisionMesh mesh;
    mesh.Build(level.positions, Scale);
    Actor actor;
    actor.radius = 0.5f;
    actor.velocity.y = -0.03f;
    actor.position = level.spots[0] + glm::vec3(0.13f, -0.3f, 0.17f);  // 0.1 above a floor tile
    mesh.Collide(&actor, 1.0f);
    EXPECT_TRUE(actor.onGround);
    EXPECT_GT(mesh.GetTestedCount(), 0u);
    EXPECT_LT(mesh.GetTestedCount(), 200u);
}

// Awkward triangles: slivers, near-vertical slopes, walls barely off an axis, huge and tiny ones.
CollisionTriangle AwkwardTriangle(std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const float size = std::pow(10.0f, 3.0f * unit(random));
    const glm::vec3 centre(unit(random) * 300.0f, unit(random) * 30.0f, unit(random) * 300.0f);
    auto corner = [&] { return centre + glm::vec3(unit(random), unit(random), unit(random)) * size; };
    glm::vec3 a = corner(), b = corner(), c = corner();
    switch (random() % 6) {
        case 0:  // a sliver: c almost on the line a-b
            c = a + (b - a) * unit(random) * 3.0f +
                glm::vec3(unit(random), unit(random), unit(random)) * size * 1e-4f;
            break;
        case 1:  // almost vertical
            c = glm::vec3(b.x + size * 1e-5f * unit(random), c.y, b.z);
            break;
        case 2:  // a wall on a diagonal footprint
            c = glm::vec3(b.x, c.y, b.z);
            a = glm::vec3(b.x + (b.x - a.x) * 0.0f + size, a.y, b.z + size * unit(random) * 1e-3f);
            c = glm::vec3(a.x, c.y, a.z);
            break;
        case 3:  // an axis wall
            a.x = b.x = c.x;
            break;
        case 4:  // a flat floor
            a.y = b.y = c.y;
            break;
        default:
            break;
    }
    return CollisionTriangle::Prepare(a, b, c);
}

TEST(CollisionTriangleTest, PreparedTrianglesActExactlyLikeThePlainOnes) {
    std::mt19937 random(77);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    int acted = 0;
    for (int i = 0; i < 200000; ++i) {
        const CollisionTriangle t = i % 50 == 0 ? CollisionTriangle::Prepare({1, 2, 3}, {1, 2, 3}, {4, 5, 6})
                                                : AwkwardTriangle(random);
        Actor actor;
        const glm::vec3 pick = std::vector<glm::vec3>{t.a, t.b, t.c}[random() % 3];
        const float spread = std::pow(10.0f, 2.0f * unit(random));
        actor.position = pick + glm::vec3(unit(random), unit(random), unit(random)) * spread;
        if (i % 997 == 0) actor.position.x = nan;
        actor.velocity = glm::vec3(unit(random), unit(random), unit(random));
        actor.radius = std::fabs(unit(random)) * 3.0f;
        const float dt = 1.0f + unit(random);
        Actor plain = actor;
        plain.CollideTriangle(t.a, t.b, t.c, dt);
        Actor fast = actor;
        fast.CollidePrepared(t, dt);
        ASSERT_TRUE(SameBits(plain, fast) || (std::isnan(plain.position.x) && std::isnan(fast.position.x)))
            << i << "\n plain " << Describe(plain) << "\n fast  " << Describe(fast);
        acted += SameBits(plain, actor) ? 0 : 1;
    }
    EXPECT_GT(acted, 5000);
}

// Whatever the mesh skips must be a triangle that would not have changed the actor.
TEST(CollisionTriangleTest, BoundsHoldForAwkwardTriangles) {
    std::mt19937 random(99);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    int nearMisses = 0;
    for (int i = 0; i < 20000; ++i) {
        const CollisionTriangle t = AwkwardTriangle(random);
        CollisionMesh mesh;
        const std::vector<float> positions = {t.a.x / Scale, t.a.y / Scale, t.a.z / Scale,
                                              t.b.x / Scale, t.b.y / Scale, t.b.z / Scale,
                                              t.c.x / Scale, t.c.y / Scale, t.c.z / Scale};
        mesh.Build(positions, Scale);
        const CollisionTriangle& built = mesh.GetTriangle(0);
        for (int k = 0; k < 50; ++k) {
            Actor actor;
            const glm::vec3 pick = std::vector<glm::vec3>{built.a, built.b, built.c}[random() % 3];
            const float spread = std::pow(10.0f, 3.0f * unit(random) - 1.0f);
            actor.position = pick + glm::vec3(unit(random), unit(random), unit(random)) * spread;
            actor.velocity = glm::vec3(unit(random), -std::fabs(unit(random)), unit(random));
            actor.radius = std::fabs(unit(random)) * 2.0f;
            const float dt = 1.0f + unit(random);
            Actor plain = actor;
            plain.CollideTriangle(built.a, built.b, built.c, dt);
            Actor fast = actor;
            mesh.Collide(&fast, dt);
            ASSERT_TRUE(SameBits(plain, fast))
                << i << "/" << k << " kind " << int(built.kind) << "\n start " << Describe(actor)
                << "\n plain " << Describe(plain) << "\n fast  " << Describe(fast);
            nearMisses += (mesh.GetTestedCount() == 1 && SameBits(plain, actor)) ? 1 : 0;
        }
    }
    EXPECT_GT(nearMisses, 0);
}

}  // namespace

// One triangle in world units through the plain code and through the mesh; empty when they agree.
std::string Disagreement(glm::vec3 a, glm::vec3 b, glm::vec3 c, const Actor& actor, float dt) {
    CollisionMesh mesh;
    mesh.Build({a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z}, 1.0f);
    Actor plain = actor;
    plain.CollideTriangle(a, b, c, dt);
    Actor fast = actor;
    mesh.Collide(&fast, dt);
    if (SameBits(plain, fast) || (std::isnan(plain.position.x) && std::isnan(fast.position.x))) return {};
    return "start " + Describe(actor) + "\n plain " + Describe(plain) + "\n fast  " + Describe(fast);
}

// Underflow can round the one non-zero product of a flat projection's test to 0, and overflow can
// turn a test into infinity minus infinity: both make the plain test pass far outside a triangle.
TEST(CollisionTriangleTest, SkippingHoldsAtTheEdgesOfTheFloatRange) {
    const float sub = std::numeric_limits<float>::denorm_min();
    const struct {
        glm::vec3 a, b, c, position;
        float vy;
    } cases[] = {
        {{0, 0.8f, 0}, {0, 0.4f, 10}, {0, 0, 0}, {sub, 5, 5}, 0},
        {{0, 0.8f, 0}, {10, 0.4f, 0}, {0, 0, 0}, {5, 5, sub}, 0},
        {{0, 0, 0}, {0, 1e14f, 2e14f}, {0, 0, 1e14f}, {0.1f, 1e29f, 1e29f}, 0},
        {{3.95378e9f, 9.32562e9f, 8.35771e9f},
         {-2.96698e9f, 9.32562e9f, -4.0556e8f},
         {4.27987e9f, 9.32562e9f, 8.42668e9f},
         {5.67278e28f, 0, 9.04655e28f},
         -7e34f},
    };
    for (const auto& c : cases) {
        Actor actor;
        actor.radius = 0.5f;
        actor.position = c.position;
        actor.velocity.y = c.vy;
        EXPECT_EQ(Disagreement(c.a, c.b, c.c, actor, 1.0f), "");
    }

    // The same family at random: coordinates, radii and steps drawn from zero, subnormal, tiny,
    // ordinary and huge sizes, often sharing a coordinate, and actors placed on and off the corners.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    const float sizes[] = {sub,  2 * sub, 3 * sub, 1e-40f, 1e-30f, 1e-12f, 1e-6f, 0.5f,
                           8.0f, 1e5f,    1e14f,   1e15f,  1e18f,  1e29f,  3e38f};
    auto edge = [&](float near) {
        const float size = sizes[random() % std::size(sizes)];
        switch (random() % 4) {
            case 0:
                return 0.0f;
            case 1:
                return near;
            case 2:
                return size * (random() % 2 ? -1.0f : 1.0f);
            default:
                return near + size * unit(random);
        }
    };
    auto near = [&](glm::vec3 p) { return glm::vec3(edge(p.x), edge(p.y), edge(p.z)); };
    for (int i = 0; i < 300000; ++i) {
        const glm::vec3 a = near(glm::vec3(0.0f));
        glm::vec3 b = near(a), c = near(a);
        const int shared = random() % 4;  // x, y, z or none
        if (shared < 3) b[shared] = c[shared] = a[shared];
        if (random() % 4 == 0) c = glm::vec3(b.x, c.y, b.z);  // an upright edge
        Actor actor;
        actor.position = near(std::vector<glm::vec3>{a, b, c}[random() % 3]);
        actor.velocity.y = random() % 2 ? -0.5f : -std::fabs(edge(0.0f));
        actor.radius = random() % 2 ? 0.5f : std::fabs(edge(0.5f));
        const float dt = random() % 2 ? 1.0f : std::fabs(edge(1.0f));
        const std::string disagreement = Disagreement(a, b, c, actor, dt);
        ASSERT_EQ(disagreement, "") << i;
    }
}
