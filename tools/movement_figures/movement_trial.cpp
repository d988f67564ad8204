#include "movement_trial.h"

#include "application/control_state.h"
#include "application/vpad.h"

#include <algorithm>

namespace MovementFigures {

namespace {

constexpr int KeyW = 87, KeySpace = 32;

void Key(int key, bool was, bool now) {
    if (now && !was) Application::ControlState::OnKeyDown(key);
    if (was && !now) Application::ControlState::OnKeyUp(key);
}

void Push(std::vector<float>& positions, glm::vec3 a, glm::vec3 b, glm::vec3 c) {
    positions.insert(positions.end(), {a.x, a.y, a.z, b.x, b.y, b.z, c.x, c.y, c.z});
}

}  // namespace

MovementTrial::MovementTrial(const std::vector<float>& positions, glm::vec3 start) {
    Application::ControlState::Init();
    Application::Vpad::Init();
    Application::Vpad::ClearButtons();
    Application::Vpad::PushButton(KeySpace, 0);
    game.PrepareCollision(positions);
    *game.player = Application::Player(start);
}

void MovementTrial::Frame(Keys keys, float dt) {
    // Events arrive before the frame, the gamepad reads them, the scene updates, the frame's input ends.
    Key(KeyW, held.forward, keys.forward);
    Key(KeySpace, held.jump, keys.jump);
    mouseAt += keys.mouse;
    if (keys.mouse != glm::vec2(0.0f)) Application::ControlState::OnMouseMove(mouseAt.x, mouseAt.y);
    held = keys;
    Application::Vpad::Update();
    game.Update(dt);
    Application::ControlState::Update();
}

bool MovementTrial::Settle(int limit) {
    for (int frame = 0; frame < limit; ++frame) {
        Frame({});
        if (GetPlayer().onGround && GetPlayer().velocity == glm::vec3(0.0f)) return true;
    }
    return false;
}

void AddFloor(std::vector<float>& positions, float x0, float x1, float z0, float z1, float y) {
    Push(positions, {x0, y, z0}, {x1, y, z0}, {x1, y, z1});
    Push(positions, {x0, y, z0}, {x1, y, z1}, {x0, y, z1});
}

void AddWallAcrossZ(std::vector<float>& positions, float x0, float x1, float z, float bottom, float top) {
    Push(positions, {x0, bottom, z}, {x1, bottom, z}, {x1, top, z});
    Push(positions, {x0, bottom, z}, {x1, top, z}, {x0, top, z});
}

Jump JumpOnFlatFloor(int hold, float dt) {
    std::vector<float> floor;
    AddFloor(floor, -10, 10, -10, 10, 0);
    MovementTrial trial(floor, {0, 1, 0});
    trial.Settle();
    Jump jump;
    for (int frame = 0; frame < 600; ++frame) {
        trial.Frame({false, frame < hold}, dt);
        jump.apex = std::max(jump.apex, trial.GetPlayer().position.y);
        if (frame > 0 && trial.GetPlayer().onGround) {
            jump.airtime = frame + 1;
            break;
        }
    }
    return jump;
}

}  // namespace MovementFigures
