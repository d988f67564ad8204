// A level switch through the shell's own input path, frame by frame: Esc, Levels and the second
// level load it on the loader thread while frames go on with the game standing still under the menu,
// and the frame the level is there shows its first frame; going back to a level played before needs
// no loading at all.
#include "support/game_harness.h"

#include "application/game.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr int kFrameBound = 100000;  // only a guard against a hang; no test waits on time

void Tap(TestSupport::GameHarness& shell, int key) {
    shell.OnKeyDown(key);
    shell.Frame();
    shell.OnKeyUp(key);
    shell.Frame();
}

TEST(LevelSwitchTest, TheChosenLevelLoadsWhileTheGameStandsStillAndStartsAtItsSpawn) {
    TestSupport::GameHarness shell;
    shell.Start(STAGEWALK_SOURCE_DIR "/game");
    ASSERT_TRUE(shell.RunUntilLoaded());
    Application::Game& scene = *shell.GetGame();
    ASSERT_EQ(scene.level.name, "tower");
    for (int frame = 0; frame < kFrameBound && shell.GetCatalog().State(1).identity.empty(); ++frame)
        shell.Frame();
    ASSERT_FALSE(shell.GetCatalog().State(1).identity.empty())
        << "the first steps are surveyed in the background";
    EXPECT_EQ(shell.GetCatalog().State(1).store, nullptr) << "and not kept";

    Tap(shell, GLFW_KEY_ESCAPE);
    ASSERT_TRUE(shell.IsMenuOpen());
    EXPECT_FALSE(shell.IsCursorCaptured()) << "the mouse is free in the menu";
    const glm::vec3 paused = scene.player->position;
    for (const int key : {GLFW_KEY_DOWN, GLFW_KEY_DOWN, GLFW_KEY_ENTER, GLFW_KEY_S, GLFW_KEY_ENTER})
        Tap(shell, key);
    int waited = 0;
    for (; shell.GetLevel() == 0 && waited < kFrameBound; ++waited) {
        ASSERT_TRUE(shell.IsMenuOpen());
        ASSERT_EQ(scene.player->position, paused) << "the game stands still while the level loads";
        shell.Frame();
    }
    ASSERT_EQ(shell.GetLevel(), 1u);
    EXPECT_EQ(scene.level.name, "steps");
    EXPECT_TRUE(scene.spawn.given);
    EXPECT_EQ(scene.player->position, scene.spawn.position) << "its first frame, at its spawn";
    EXPECT_EQ(scene.run.GetSteps(), 0);
    EXPECT_FALSE(shell.IsMenuOpen());
    EXPECT_TRUE(shell.IsCursorCaptured());
    EXPECT_NE(shell.GetCatalog().State(1).store, nullptr) << "kept for the run";

    // Back to the tower: its store was kept, so it starts in the frame it is chosen.
    Tap(shell, GLFW_KEY_ESCAPE);
    for (const int key : {GLFW_KEY_DOWN, GLFW_KEY_DOWN, GLFW_KEY_ENTER, GLFW_KEY_UP}) Tap(shell, key);
    shell.OnKeyDown(GLFW_KEY_ENTER);
    shell.Frame();
    EXPECT_EQ(scene.level.name, "tower");
    EXPECT_FALSE(shell.IsMenuOpen());
    shell.Stop();
}

}  // namespace
