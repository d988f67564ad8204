#include "collision/actor.h"

#include <algorithm>

namespace Application {

namespace {

// Moves `value` towards `target` by at most `step`, never past it.
float Ease(float value, float target, float step) {
    if (target > value) return std::min(target, value + step);
    if (value > target) return std::max(target, value - step);
    return value;
}

}  // namespace

void Actor::Update(float dt) {
    UpdateControl(dt);
    Move(dt);
    // The collision pass that follows sets it again when the actor lands.
    onGround = false;
}

void Actor::Move(float dt) {
    speed = glm::length(velocity);
    velocity.x = Ease(velocity.x, targetVelocity.x, acceleration.x * dt);
    velocity.z = Ease(velocity.z, targetVelocity.z, acceleration.z * dt);
    // A target of exactly 0 leaves the vertical velocity to jumps and landings.
    if (targetVelocity.y != 0.0f) velocity.y = Ease(velocity.y, targetVelocity.y, acceleration.y * dt);
    position += velocity * dt;
}

void Actor::UpdateControl(float /*dt*/) {}

}  // namespace Application
