#include "application/vpad.h"

#include "collision/movement_tunables.h"
#include "input_script.h"

#include <gtest/gtest.h>

using Application::ControlState;
using Application::Vpad;
using namespace TestSupport;

namespace {

class VpadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ControlState::Init();
        Vpad::Init();
        Vpad::ClearButtons();  // bindings survive Init; start every test from none
        Vpad::SetLook(1.0f, false);
    }
};

TEST_F(VpadTest, LeftStickFollowsHeldKeysOnly) {
    const int H = ControlState::Held, P = ControlState::Pressed, R = ControlState::Released;
    const float d = Application::Movement::DiagonalScale;
    const struct {
        std::vector<KeyInState> keys;
        glm::vec2 stick;
    } cases[] = {
        {{}, {0, 0}},
        {{{KeyW, H}}, {0, 1}},
        {{{KeyS, H}}, {0, -1}},
        {{{KeyA, H}}, {1, 0}},
        {{{KeyD, H}}, {-1, 0}},
        {{{KeyW, H}, {KeyS, H}}, {0, 1}},
        {{{KeyA, H}, {KeyD, H}}, {1, 0}},
        {{{KeyW, H}, {KeyA, H}}, {d, d}},
        {{{KeyS, H}, {KeyD, H}}, {-d, -d}},
        {{{KeyW, P}}, {0, 0}},
        {{{KeyW, R}}, {0, 0}},
        {{{KeyS, H}, {KeyW, P}}, {0, -1}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetKeys(cases[i].keys);
        Vpad::Update();
        EXPECT_EQ(Vpad::GetLeftStick(), cases[i].stick) << "case " << i;
    }
}

TEST_F(VpadTest, RightStickIsThisFramesMouseMovementOver96TimesTheSensitivity) {
    const struct {
        float sensitivity;
        bool invert;
        glm::vec2 movement, stick;
    } cases[] = {
        {1.0f, false, {48, -96}, {0.5f, -1.0f}},
        {1.0f, false, {7, 13}, {7.0f / 96.0f, 13.0f / 96.0f}},  // at 1, exactly the movement / 96
        {2.0f, false, {48, -96}, {1.0f, -2.0f}},
        {0.5f, true, {48, -96}, {0.25f, 0.5f}},
    };
    for (const auto& c : cases) {
        Vpad::SetLook(c.sensitivity, c.invert);
        ControlState::Init();
        ControlState::OnMouseMove(c.movement.x, c.movement.y);
        Vpad::Update();
        EXPECT_EQ(Vpad::GetRightStick(), c.stick) << c.sensitivity << " " << c.invert;
        ControlState::Update();
        Vpad::Update();
        EXPECT_EQ(Vpad::GetRightStick(), glm::vec2(0.0f));
    }
}

// A cursor report as the shell hands it on: to the input state, then its movement to the look.
void Report(float x, float y) {
    const glm::vec2 from = ControlState::GetMousePosition();
    ControlState::OnMouseMove(x, y);
    Vpad::OnCursorReport(ControlState::GetMousePosition() - from);
}

void EndFrame() {
    ControlState::Update();
    Vpad::EndFrame();
}

// The first report after a capture holds the jump from (0, 0), or from where the cursor was last
// seen, to where the window library put it: the look drops it, and only it, in whichever frame.
TEST_F(VpadTest, TheFirstCursorReportAfterACaptureTurnsNothing) {
    Vpad::SkipNextCursorReport();
    Report(641, 360);
    Report(644, 360);
    Vpad::Update();
    EXPECT_EQ(Vpad::GetRightStick(), glm::vec2(3.0f / 96.0f, 0.0f));
    EXPECT_EQ(Vpad::GetLookMovement(), glm::vec2(3.0f, 0.0f)) << "what a recording keeps";
    EndFrame();
    Report(645, 360);
    Vpad::Update();
    EXPECT_EQ(Vpad::GetRightStick(), glm::vec2(1.0f / 96.0f, 0.0f));
    EndFrame();
    // Captured again while loading, when no frame reads the look: the report goes with its frame.
    Vpad::SkipNextCursorReport();
    Report(100, 100);
    EndFrame();
    Report(102, 100);
    Vpad::Update();
    EXPECT_EQ(Vpad::GetRightStick(), glm::vec2(2.0f / 96.0f, 0.0f));
}

TEST_F(VpadTest, ButtonsPassEveryKeyStateThroughAndReadUpPastTheEnd) {
    Vpad::PushButton(KeyW, 9);
    Vpad::PushButton(KeySpace, 0);
    EXPECT_EQ(Vpad::GetButton(1), 1) << "a new binding reads 1 until the next Update";
    EXPECT_EQ(Vpad::GetButton(2), 0);
    EXPECT_EQ(Vpad::GetButton(5), 0);
    for (int state : {ControlState::Pressed, ControlState::Held, ControlState::Released, ControlState::Up}) {
        SetKeys({{KeySpace, state}});
        Vpad::Update();
        EXPECT_EQ(Vpad::GetButton(1), state);
        EXPECT_EQ(Vpad::GetButton(0), ControlState::Up);
    }
    Vpad::Init();
    EXPECT_EQ(Vpad::GetButtonCount(), 2u) << "Init keeps the bindings";
}

}  // namespace
