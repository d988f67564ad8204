// The first look through the shell's own input path: cursor reports into its event hook and whole
// frames, after each way the cursor is captured (start-up, left Ctrl + F1 twice, the focus lost and
// regained). The first report after the capture, which holds the cursor's jump to wherever the window
// library put it, turns nothing; a report after it turns the view by its counts. The frames poll no
// events, so the reports are the script's alone: other windows on the display (the other GL tests)
// would make the window library report the cursor of its own.
#include "application/game.h"
#include "application/player.h"
#include "support/game_harness.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <chrono>

namespace {

enum class Capture { StartUp, Again, Refocused };

TEST(FirstLookTest, TheFirstCursorReportAfterEachCaptureTurnsNothing) {
    for (const Capture capture : {Capture::StartUp, Capture::Again, Capture::Refocused}) {
        TestSupport::GameHarness shell;
        shell.Start(STAGEWALK_SOURCE_DIR "/game");
        const auto frame = [&shell] {
            shell.OnUpdate(Engine::ApplicationManager::kFramePeriod);
            shell.RenderFrame(shell.GetGraphics());
        };
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!shell.IsLoaded() && std::chrono::steady_clock::now() < until) frame();
        ASSERT_TRUE(shell.IsLoaded());
        const Application::Player& player = *shell.GetGame()->player;
        if (capture != Capture::StartUp) {
            shell.OnMouseMove(900, 500);  // the first report of the game
            shell.OnMouseMove(920, 500);  // and a turn of 20 counts
            frame();
        }
        if (capture == Capture::Again) {
            for (const int key : {GLFW_KEY_LEFT_CONTROL, GLFW_KEY_F1, -GLFW_KEY_F1, GLFW_KEY_F1}) {
                key > 0 ? shell.OnKeyDown(key) : shell.OnKeyUp(-key);
                frame();
            }
            ASSERT_TRUE(shell.IsCursorCaptured());
        } else if (capture == Capture::Refocused) {
            shell.OnFocusChanged(false);
            shell.OnFocusChanged(true);
        }
        const float yaw = player.rotation.y;
        shell.OnMouseMove(100, 50);
        shell.OnMouseMove(101, 50);
        frame();
        EXPECT_FLOAT_EQ(player.rotation.y, yaw - 1.0f / Application::Movement::MouseCountsPerRadian)
            << static_cast<int>(capture);
        shell.Stop();
    }
}

}  // namespace
