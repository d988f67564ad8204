#include "application/control_state.h"

namespace Application {

std::vector<int> ControlState::keyStates;
std::vector<int> ControlState::buttonStates;
glm::vec2 ControlState::mousePosition{0.0f, 0.0f};
glm::vec2 ControlState::mouseDelta{0.0f, 0.0f};
glm::vec2 ControlState::scaleFrom{1.0f, 1.0f};
glm::vec2 ControlState::scaleTo{1.0f, 1.0f};

namespace {

bool InRange(const std::vector<int>& table, int index) {
    return index >= 0 && static_cast<size_t>(index) < table.size();
}

// A press is only news to a key that is up; a release only to one already seen held. A press and
// release within one frame therefore leave the entry Pressed (read Held next frame) until the next
// press/release pair, which keeps "Pressed lasts one frame" and never loses a tap.
void Press(std::vector<int>& table, int index) {
    if (InRange(table, index) && table[index] == ControlState::Up) table[index] = ControlState::Pressed;
}

void Release(std::vector<int>& table, int index) {
    if (InRange(table, index) && table[index] == ControlState::Held) table[index] = ControlState::Released;
}

void Advance(std::vector<int>& table) {
    for (int& state : table) {
        if (state == ControlState::Pressed) state = ControlState::Held;
        else if (state == ControlState::Released) state = ControlState::Up;
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
}

void ControlState::OnKeyDown(int key) { Press(keyStates, key); }
void ControlState::OnKeyUp(int key) { Release(keyStates, key); }
void ControlState::OnMouseDown(int button) { Press(buttonStates, button); }
void ControlState::OnMouseUp(int button) { Release(buttonStates, button); }

void ControlState::OnMouseMove(double x, double y) {
    const glm::vec2 position(static_cast<float>(x), static_cast<float>(y));
    // Summed, so the frame's movement does not depend on how many events the poll delivered.
    mouseDelta += position - mousePosition;
    mousePosition = position;
}

void ControlState::Update() {
    Advance(keyStates);
    Advance(buttonStates);
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

glm::vec2 ControlState::GetScaledMousePosition() { return mousePosition * scaleTo / scaleFrom; }

}  // namespace Application
