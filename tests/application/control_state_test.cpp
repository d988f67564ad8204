#include "application/control_state.h"

#include <gtest/gtest.h>

#include <cstdlib>

using Application::ControlState;

namespace {

class ControlStateTest : public ::testing::Test {
protected:
    void SetUp() override { ControlState::Init(); }
};

TEST(ControlStateBeforeInit, EveryQueryReadsUpAndEventsAreIgnored) {
    // The tables are process-wide and stay sized once any test has called Init, so the check runs
    // in a fresh process of this binary, whatever ran before it here.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ControlState::OnKeyDown(81);
            ControlState::OnMouseDown(0);
            const bool up = ControlState::GetKeyState(81) == ControlState::Up &&
                            ControlState::GetMouseButtonState(0) == ControlState::Up;
            std::exit(up ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(ControlStateTest, KeyWalksTheFourStateCycle) {
    const int q = 81;
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Up);
    ControlState::OnKeyDown(q);
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Pressed);
    ControlState::Update();
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Held);
    ControlState::OnKeyDown(q);  // auto-repeat arrives as another press: nothing changes
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Held);
    ControlState::Update();
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Held);
    ControlState::OnKeyUp(q);
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Released);
    ControlState::Update();
    EXPECT_EQ(ControlState::GetKeyState(q), ControlState::Up);
}

TEST_F(ControlStateTest, ModifierHeldAFrameBeforeTheKey) {
    ControlState::OnKeyDown(341);
    ControlState::Update();
    ControlState::OnKeyDown(81);
    EXPECT_EQ(ControlState::GetKeyState(341), ControlState::Held);
    EXPECT_EQ(ControlState::GetKeyState(81), ControlState::Pressed);
}

TEST_F(ControlStateTest, BothPressedInOnePollReadPressed) {
    ControlState::OnKeyDown(341);
    ControlState::OnKeyDown(81);
    EXPECT_EQ(ControlState::GetKeyState(341), ControlState::Pressed);
    EXPECT_EQ(ControlState::GetKeyState(81), ControlState::Pressed);
}

TEST_F(ControlStateTest, ChangesWithinOneFrameShowOverTheNextFramesAndNeverStick) {
    struct Step {
        const char* events;       // d = down, u = up, then one Update per '|'
        std::vector<int> states;  // the state after the events, then after each Update
    };
    const Step steps[] = {
        {"du|||", {ControlState::Pressed, ControlState::Released, ControlState::Up, ControlState::Up}},
        {"d|u||", {ControlState::Pressed, ControlState::Released, ControlState::Up}},
        {"dud|||", {ControlState::Pressed, ControlState::Held, ControlState::Held, ControlState::Held}},
        {"d|ud||",
         {ControlState::Pressed, ControlState::Released, ControlState::Pressed, ControlState::Held}},
        {"d|udu||", {ControlState::Pressed, ControlState::Released, ControlState::Up, ControlState::Up}},
        {"d|dd|", {ControlState::Pressed, ControlState::Held, ControlState::Held}},  // auto-repeat
    };
    for (const Step& step : steps) {
        ControlState::Init();
        std::vector<int> seen;
        const std::string events = step.events;
        for (size_t i = 0; i <= events.size(); ++i) {
            if (i == events.size() || events[i] == '|') {
                seen.push_back(ControlState::GetKeyState(32));
                ControlState::Update();
            } else if (events[i] == 'd') {
                ControlState::OnKeyDown(32);
            } else if (events[i] == 'u') {
                ControlState::OnKeyUp(32);
            }
        }
        seen.resize(step.states.size());
        EXPECT_EQ(seen, step.states) << step.events;
    }
}

TEST_F(ControlStateTest, OutOfRangeCodesAreIgnoredAndReadUp) {
    for (int key : {-1, 348, 349, 5000, -100000}) {
        ControlState::OnKeyDown(key);
        ControlState::OnKeyUp(key);
        EXPECT_EQ(ControlState::GetKeyState(key), ControlState::Up) << key;
    }
    for (int button : {-1, 16, 100}) {
        ControlState::OnMouseDown(button);
        EXPECT_EQ(ControlState::GetMouseButtonState(button), ControlState::Up) << button;
    }
    ControlState::OnKeyDown(347);  // the last entry exists
    EXPECT_EQ(ControlState::GetKeyState(347), ControlState::Pressed);
}

TEST_F(ControlStateTest, ButtonsHaveTheirOwnTable) {
    ControlState::OnMouseDown(0);
    EXPECT_EQ(ControlState::GetMouseButtonState(0), ControlState::Pressed);
    EXPECT_EQ(ControlState::GetKeyState(0), ControlState::Up);
    ControlState::Update();
    ControlState::OnMouseUp(0);
    EXPECT_EQ(ControlState::GetMouseButtonState(0), ControlState::Released);
}

TEST_F(ControlStateTest, MouseMovementIsSummedPerFrameAndCleared) {
    ControlState::OnMouseMove(100.0, 50.0);  // first event: the whole position is movement
    EXPECT_EQ(ControlState::GetMouseDelta(), glm::vec2(100.0f, 50.0f));
    ControlState::Update();
    EXPECT_EQ(ControlState::GetMouseDelta(), glm::vec2(0.0f, 0.0f));
    ControlState::OnMouseMove(110.0, 45.0);
    ControlState::OnMouseMove(130.0, 40.0);
    EXPECT_EQ(ControlState::GetMouseDelta(), glm::vec2(30.0f, -10.0f));
    EXPECT_EQ(ControlState::GetMousePosition(), glm::vec2(130.0f, 40.0f));
}

TEST_F(ControlStateTest, InitDiscardsEarlierState) {
    ControlState::OnKeyDown(65);
    ControlState::OnMouseMove(5.0, 5.0);
    ControlState::Init();
    EXPECT_EQ(ControlState::GetKeyState(65), ControlState::Up);
    EXPECT_EQ(ControlState::GetMousePosition(), glm::vec2(0.0f, 0.0f));
    EXPECT_EQ(ControlState::GetMouseDelta(), glm::vec2(0.0f, 0.0f));
}

TEST_F(ControlStateTest, ScaledMousePosition) {
    ControlState::OnMouseMove(320.0, 100.0);
    ControlState::SetMouseScale(glm::vec2(640.0f, 480.0f), glm::vec2(320.0f, 240.0f));
    EXPECT_EQ(ControlState::GetScaledMousePosition(), glm::vec2(160.0f, 50.0f));
}

}  // namespace
