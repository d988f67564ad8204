#include "application/player.h"

#include "application/control_state.h"
#include "application/vpad.h"

#include <algorithm>
#include <cmath>

namespace Application {

namespace {

using namespace Movement;

constexpr unsigned JumpButton = 0;

bool SameSign(float a, float b) { return (a > 0.0f && b > 0.0f) || (a < 0.0f && b < 0.0f); }

// Whether the bob went past its lowest point, 3/2 pi on each turn, between two phases: the foot meets
// the ground as the eye is lowest.
bool PassesFootfall(float from, float to) {
    constexpr float kTurn = 6.2831853f;
    constexpr float kLowest = 4.712389f;
    return std::floor((to - kLowest) / kTurn) > std::floor((from - kLowest) / kTurn);
}

}  // namespace

Player::Player(glm::vec3 start) : spawnPosition(start) {
    position = start;
    acceleration = glm::vec3(WalkAcceleration, Gravity, WalkAcceleration);
    radius = Radius;
}

void Player::ReadGamepad() {
    walk = Vpad::GetLeftStick();
    // A frame too short for a step (dt below 1) hands its mouse movement and the button's press or
    // release on to the next frame's first step.
    look += Vpad::GetRightStick();
    const int button = Vpad::GetButton(JumpButton);
    const bool edgeWaiting = jump == ControlState::Pressed || jump == ControlState::Released;
    if (!edgeWaiting || button == ControlState::Pressed || button == ControlState::Released) jump = button;
}

void Player::UpdateControl(float dt) {
    // The mouse says how far to turn, whatever the time it took: it is not scaled by dt.
    rotation.y -= look.x;
    rotation.x = std::clamp(rotation.x - look.y, -PitchLimit, PitchLimit);
    look = glm::vec2(0.0f);

    const float angle = std::atan2(walk.y, walk.x);
    const float magnitude = glm::length(walk);

    targetVelocity.y = FallSpeed;

    jumped = onGround && jump == ControlState::Pressed;
    footfall = false;
    if (jumped) {
        velocity.y = JumpSpeed;
        bobPhase = JumpBobPhase;
    }
    // Letting go while still rising cuts the jump short; it happens once, on the release frame.
    if (jump == ControlState::Released && velocity.y > 0.0f) velocity.y = velocity.y / ShortJumpDivisor;
    // A press or a release is one event: the later steps of the frame see the button held or up.
    if (jump == ControlState::Pressed) jump = ControlState::Held;
    if (jump == ControlState::Released) jump = ControlState::Up;

    // Stick angle relative to the view: forward (0, 1) walks along (sin yaw, cos yaw).
    targetVelocity.x = WalkSpeed * magnitude * std::cos(angle - rotation.y);
    targetVelocity.z = WalkSpeed * magnitude * std::sin(angle - rotation.y);

    if (onGround) {
        if (speed > 0.0f) {
            const float from = bobPhase;
            bobPhase += dt * speed * BobRate;
            footfall = PassesFootfall(from, bobPhase);
        } else if (std::sin(bobPhase) != 0.0f) {
            // At rest the bob runs on slowly to its next zero crossing and stays there.
            const float next = bobPhase + dt * BobSettle;
            bobPhase = SameSign(std::sin(bobPhase), std::sin(next)) ? next : 0.0f;
        }
    }

    // Only the position comes back: the fall keeps its velocity and the view its angles.
    if (position.y < RespawnDepth) {
        position = spawnPosition;
        ++respawns;
    }
}

bool Player::HasMoveInput() const {
    return walk != glm::vec2(0.0f) || jump == ControlState::Pressed || jump == ControlState::Held;
}

void Player::UpdateCamera(Engine::Camera1stPerson& camera) const {
    const float eye = onGround ? std::sin(bobPhase) * BobAmplitude + EyeHeight : EyeHeight;
    camera.position = glm::vec3(position.x, position.y + eye, position.z);
    camera.rotation = rotation;
}

}  // namespace Application
