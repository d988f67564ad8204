#include "application/vpad.h"

#include "application/control_state.h"
#include "collision/movement_tunables.h"
#include "engine/core/keys.h"

#include <cmath>

namespace Application {

namespace {

constexpr int KeyW = Engine::Key::W;
constexpr int KeyS = Engine::Key::S;
constexpr int KeyA = Engine::Key::A;
constexpr int KeyD = Engine::Key::D;

bool IsHeld(int key) { return ControlState::GetKeyState(key) == ControlState::Held; }

}  // namespace

glm::vec2 Vpad::leftStick{0.0f, 0.0f};
glm::vec2 Vpad::rightStick{0.0f, 0.0f};
float Vpad::lookSensitivity = 1.0f;
bool Vpad::lookInverted = false;
bool Vpad::skipReport = false;
glm::vec2 Vpad::skipped{0.0f, 0.0f};
std::vector<Vpad::Button> Vpad::buttons;

void Vpad::Init() {
    leftStick = glm::vec2(0.0f, 0.0f);
    rightStick = glm::vec2(0.0f, 0.0f);
}

void Vpad::Update() {
    leftStick = glm::vec2(0.0f, 0.0f);
    // Only Held moves the stick: the frame a key goes down it reads Pressed and movement starts
    // on the next frame. W wins over S and A over D.
    if (IsHeld(KeyW)) {
        leftStick.y = 1.0f;
    } else if (IsHeld(KeyS)) {
        leftStick.y = -1.0f;
    }
    if (IsHeld(KeyA)) {
        leftStick.x = 1.0f;
    } else if (IsHeld(KeyD)) {
        leftStick.x = -1.0f;
    }
    if (std::fabs(leftStick.x) == std::fabs(leftStick.y)) leftStick *= Movement::DiagonalScale;

    rightStick = GetLookMovement() / Movement::MouseCountsPerRadian * lookSensitivity;
    if (lookInverted) rightStick.y = -rightStick.y;

    for (Button& button : buttons) button.state = ControlState::GetKeyState(button.key);
}

glm::vec2 Vpad::GetLeftStick() { return leftStick; }
glm::vec2 Vpad::GetRightStick() { return rightStick; }

void Vpad::SkipNextCursorReport() { skipReport = true; }

void Vpad::OnCursorReport(glm::vec2 movement) {
    if (!skipReport) return;
    skipped += movement;
    skipReport = false;
}

glm::vec2 Vpad::GetLookMovement() { return ControlState::GetMouseDelta() - skipped; }

void Vpad::EndFrame() { skipped = glm::vec2(0.0f, 0.0f); }

void Vpad::SetLook(float sensitivity, bool invert) {
    lookSensitivity = sensitivity;
    lookInverted = invert;
}

int Vpad::GetButton(unsigned int index) {
    return index < buttons.size() ? buttons[index].state : static_cast<int>(ControlState::Up);
}

void Vpad::PushButton(int key, int id) { buttons.push_back(Button{key, id, ControlState::Held}); }

size_t Vpad::GetButtonCount() { return buttons.size(); }

void Vpad::ClearButtons() { buttons.clear(); }

}  // namespace Application
