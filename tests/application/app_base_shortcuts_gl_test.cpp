// The four shortcuts through the shell's own input path: key events into the event hooks, then a
// whole frame, frame by frame as a script says, so which events share a frame is exact. Only a
// modifier already down at the end of the previous frame makes the key a shortcut, and it may come
// up again before the frame that acts on it.
#include "support/game_harness.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class Effect { Quit, Fullscreen, CursorFreed, Muted };

bool Happened(const TestSupport::GameHarness& shell, Effect effect) {
    switch (effect) {
        case Effect::Quit:
            return !shell.IsRunning();
        case Effect::Fullscreen:
            return shell.IsFullscreen();
        case Effect::Muted:
            return shell.IsMuted();
        default:
            return !shell.IsCursorCaptured();
    }
}

TEST(AppBaseShortcutsTest, OnlyAModifierHeldSinceAnEarlierFrameMakesAShortcut) {
    constexpr int Ctrl = GLFW_KEY_LEFT_CONTROL, RightCtrl = GLFW_KEY_RIGHT_CONTROL, Alt = GLFW_KEY_LEFT_ALT,
                  RightAlt = GLFW_KEY_RIGHT_ALT, Q = GLFW_KEY_Q, Enter = GLFW_KEY_ENTER, F1 = GLFW_KEY_F1,
                  M = GLFW_KEY_M;
    const struct {
        const char* name;
        std::vector<std::vector<int>> frames;  // the events of each frame: key down, or -key for up
        Effect effect;
        bool happens;
    } scripts[] = {
        {"left Ctrl, then Q", {{Ctrl}, {Q}}, Effect::Quit, true},
        {"left Ctrl and Q in one frame, then held", {{Ctrl, Q}, {}, {}}, Effect::Quit, false},
        {"Q tapped within the frame after left Ctrl", {{Ctrl}, {Q, -Q}}, Effect::Quit, true},
        {"left Ctrl let go after Q, before a slow frame", {{Ctrl}, {}, {Q, -Q, -Ctrl}}, Effect::Quit, true},
        {"left Ctrl let go before Q", {{Ctrl}, {-Ctrl, Q}}, Effect::Quit, false},
        {"Q alone", {{Q}, {-Q}, {Q}}, Effect::Quit, false},
        {"right Ctrl, then Q", {{RightCtrl}, {Q}}, Effect::Quit, false},
        {"left Alt, then Enter, then frames", {{Alt}, {Enter}, {}, {}}, Effect::Fullscreen, true},
        {"left Alt and Enter in one frame", {{Alt, Enter}, {}}, Effect::Fullscreen, false},
        {"right Alt, then Enter", {{RightAlt}, {Enter}}, Effect::Fullscreen, false},
        {"left Ctrl, then F1", {{Ctrl}, {F1}}, Effect::CursorFreed, true},
        {"left Ctrl and F1 in one frame", {{Ctrl, F1}, {}}, Effect::CursorFreed, false},
        {"left Ctrl, then M", {{Ctrl}, {M}}, Effect::Muted, true},
        {"left Ctrl, then M twice", {{Ctrl}, {M, -M}, {M}}, Effect::Muted, false},
        {"M alone", {{M}}, Effect::Muted, false},
    };
    for (const auto& script : scripts) {
        TestSupport::GameHarness shell;
        shell.Start(STAGEWALK_SOURCE_DIR "/game");
        ASSERT_FALSE(Happened(shell, script.effect)) << script.name;
        for (const std::vector<int>& frame : script.frames) {
            for (int key : frame) key > 0 ? shell.OnKeyDown(key) : shell.OnKeyUp(-key);
            shell.Frame();
        }
        EXPECT_EQ(Happened(shell, script.effect), script.happens) << script.name;
    }
}

}  // namespace
