#include "application/stage.h"

#include "collision/actor.h"
#include "engine/assets/assets.h"

#include <gtest/gtest.h>

using Application::Actor;
using Application::Stage;

namespace {

Actor Falling(glm::vec3 position) {
    Actor actor;
    actor.position = position;
    actor.velocity = glm::vec3(0.0f, -0.5f, 0.0f);
    actor.radius = 0.5f;
    return actor;
}

// Floor triangles at the given model heights, in order, each covering |x| < 2 around z = 0.
std::vector<float> Floors(std::initializer_list<float> heights) {
    std::vector<float> positions;
    for (float h : heights) positions.insert(positions.end(), {-2, h, -2, 2, h, -2, 0, h, 2});
    return positions;
}

TEST(StageCollisionTest, ScalesByEightAndRunsInArrayOrder) {
    const struct {
        std::vector<float> positions;
        float x, expectedY;
    } cases[] = {{Floors({0.25f}), 0, 2.0f},
                 {Floors({0.25f}), 17, 2.05f},
                 {Floors({0.25f, 0.24f}), 0, 2.0f},
                 {Floors({0.24f, 0.25f}), 0, 1.92f}};
    for (const auto& c : cases) {
        Actor actor = Falling({c.x, 2.05f, 0.0f});
        Stage::CollideWithTriangles(&actor, c.positions, 1.0f);
        EXPECT_FLOAT_EQ(actor.position.y, c.expectedY) << c.positions.size() << " at x " << c.x;
    }
}

TEST(StageCollisionTest, TrailingFloatsAreIgnored) {
    // A wall at world x = 10 that pushes an actor at x = 9.7, then eight floats of a floor under it.
    std::vector<float> positions = {1.25f, 0, -1, 1.25f, 0, 1, 1.25f, 1, 0};
    const std::vector<float> floor = Floors({0.25f});
    positions.insert(positions.end(), floor.begin(), floor.end() - 1);
    for (size_t count : {size_t{0}, size_t{8}, positions.size()}) {
        Actor actor = Falling({9.7f, 2.1f, 0.0f});
        Stage::CollideWithTriangles(&actor, std::vector<float>(positions.begin(), positions.begin() + count),
                                    1.0f);
        EXPECT_FALSE(actor.onGround) << count;
        EXPECT_FLOAT_EQ(actor.position.x, count == positions.size() ? 9.5f : 9.7f) << count;
    }
}

TEST(StageTest, WithoutAssetsEverythingStaysNullAndNothingCollides) {
    Stage stage;
    Engine::Assets empty;
    stage.InitStage(&empty);
    EXPECT_EQ(stage.room, nullptr);
    EXPECT_EQ(stage.skybox, nullptr);
    EXPECT_EQ(stage.sky, nullptr);
    Actor actor = Falling({0.0f, 2.0f, 0.0f});
    stage.OnActorCollision(&actor, 1.0f);
    EXPECT_EQ(actor.position, glm::vec3(0.0f, 2.0f, 0.0f));
    Stage::CollideWithTriangles(nullptr, Floors({0.0f}), 1.0f);
}

}  // namespace
