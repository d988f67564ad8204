#include "collision/actor.h"

#include <gtest/gtest.h>

using Application::Actor;

namespace {

TEST(ActorMoveTest, EachAxisEasesTowardsItsTargetWithoutOvershooting) {
    const struct {
        float velocity, target, expected;  // after Move(2) with acceleration 0.1
    } cases[] = {{0, 1, 0.2f}, {1, 0, 0.8f},    {0.1f, -1, -0.1f},
                 {0.9f, 1, 1}, {-0.9f, -1, -1}, {0.5f, 0.5f, 0.5f}};
    for (const auto& c : cases) {
        Actor actor;
        actor.acceleration = glm::vec3(0.1f);
        // y is shifted off zero: a zero y target leaves the vertical velocity alone.
        actor.velocity = glm::vec3(c.velocity, c.velocity - 2, c.velocity);
        actor.targetVelocity = glm::vec3(c.target, c.target - 2, c.target);
        actor.Move(2.0f);
        const glm::vec3 expected(c.expected, c.expected - 2, c.expected);
        EXPECT_LT(glm::length(actor.velocity - expected), 1e-6f) << c.velocity << " -> " << c.target;
        EXPECT_LT(glm::length(actor.position - 2.0f * expected), 1e-6f) << "moves with the new velocity";
    }
}

TEST(ActorMoveTest, ZeroVerticalTargetKeepsTheVerticalVelocity) {
    Actor actor;
    actor.acceleration = glm::vec3(Application::Movement::WalkAcceleration, Application::Movement::Gravity,
                                   Application::Movement::WalkAcceleration);
    actor.velocity = glm::vec3(3.0f, -0.3f, 4.0f);
    actor.Move(1.0f);
    EXPECT_EQ(actor.velocity.y, -0.3f);
    EXPECT_EQ(actor.speed, glm::length(glm::vec3(3.0f, -0.3f, 4.0f))) << "taken before easing";
}

}  // namespace
