#include "application/control_state.h"

#include <utility>

namespace Application {

std::vector<int> ControlState::keyStates;
std::vector<int> ControlState::buttonStates;
glm::vec2 ControlState::mousePosition{0.0f, 0.0f};
glm::vec2 ControlState::mouseDelta{0.0f, 0.0f};
glm::vec2 ControlState::scaleFrom{1.0f, 1.0f};
glm::vec2 ControlState::scaleTo{1.0f, 1.0f};

namespace {

// Whether each key and button is physically down, as the latest event said. The state table alone
// cannot tell what a Pressed or Released entry should become at the next Update when the opposite
// event arrived within the same frame; this can.
std::vector<bool> keysDown;
std::vector<bool> buttonsDown;

bool InRange(const std::vector<int>& table, int index) {
    return index >= 0 && static_cast<size_t>(index) < table.size();
}

// A press is news only to an entry that is Up, a release only to one that is Held; otherwise the
// entry keeps its state for this frame and the change shows at the next Update. So a key tapped
// within one frame reads Pressed, then Released, then Up: the tap is seen and never sticks down.
void Press(std::vector<int>& table, std::vector<bool>& down, int index) {
    if (!InRange(table, index)) return;
    down[index] = true;
    if (table[index] == ControlState::Up) table[index] = ControlState::Pressed;
}

void Release(std::vector<int>& table, std::vector<bool>& down, int index) {
    if (!InRange(table, index)) return;
    down[index] = false;
    if (table[index] == ControlState::Held) table[index] = ControlState::Released;
}

void Advance(std::vector<int>& table, const std::vector<bool>& down) {
    for (size_t i = 0; i < table.size(); ++i) {
        if (table[i] == ControlState::Pressed) {
            table[i] = down[i] ? ControlState::Held : ControlState::Released;
        } else if (table[i] == ControlState::Released) {
            table[i] = down[i] ? ControlState::Pressed : ControlState::Up;
        }
    }
}

int Lookup(const std::vector<int>& table, int index) {
    return InRange(table, index) ? table[index] : ControlState::Up;
}

}  // namespace

void ControlState::Init() {
    mousePosition = glm::vec2(0.0f, 0.0f);
    mouseDelta = glm::vec2(0.0f, 0.0f);
    keyStates.assign(KeyCount, Up);
    buttonStates.assign(ButtonCount, Up);
    keysDown.assign(KeyCount, false);
    buttonsDown.assign(ButtonCount, false);
}

void ControlState::OnKeyDown(int key) { Press(keyStates, keysDown, key); }
void ControlState::OnKeyUp(int key) { Release(keyStates, keysDown, key); }
void ControlState::OnMouseDown(int button) { Press(buttonStates, buttonsDown, button); }
void ControlState::OnMouseUp(int button) { Release(buttonStates, buttonsDown, button); }

void ControlState::OnMouseMove(double x, double y) {
    const glm::vec2 position(static_cast<float>(x), static_cast<float>(y));
    // Summed, so the frame's movement does not depend on how many events the poll delivered.
    mouseDelta += position - mousePosition;
    mousePosition = position;
}

void ControlState::Update() {
    Advance(keyStates, keysDown);
    Advance(buttonStates, buttonsDown);
    mouseDelta = glm::vec2(0.0f, 0.0f);
}

int ControlState::GetKeyState(int key) { return Lookup(keyStates, key); }
int ControlState::GetMouseButtonState(int button) { return Lookup(buttonStates, button); }
glm::vec2 ControlState::GetMouseDelta() { return mouseDelta; }
glm::vec2 ControlState::GetMousePosition() { return mousePosition; }

void ControlState::SetMouseScale(glm::vec2 from, glm::vec2 to) {
    scaleFrom = from;
    scaleTo = to;
}

void ControlState::SwapInput(std::vector<int>& keys, std::vector<int>& buttons, glm::vec2& delta) {
    keyStates.swap(keys);
    buttonStates.swap(buttons);
    std::swap(mouseDelta, delta);
}

glm::vec2 ControlState::GetScaledMousePosition() { return mousePosition * scaleTo / scaleFrom; }

}  // namespace Application
