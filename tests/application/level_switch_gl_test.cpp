// A level switch through the shell's own input path, frame by frame: Esc, Levels and the second
// level load it on the loader thread while frames go on with the game standing still under the menu,
// and the frame the level is there shows its first frame; going back to a level played before needs
// no loading at all, and keys tapped within one frame each count. At a finish the panel shows, and Enter
// plays the next level.
#include "support/game_harness.h"

#include "application/game.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "support/scratch_dir.h"

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

    // Back to the tower, every key tapped within one slow frame: each counts, in order, and the
    // tower's store was kept, so it starts in that very frame.
    for (const int key :
         {GLFW_KEY_ESCAPE, GLFW_KEY_DOWN, GLFW_KEY_DOWN, GLFW_KEY_ENTER, GLFW_KEY_UP, GLFW_KEY_ENTER}) {
        shell.OnKeyDown(key);
        shell.OnKeyUp(key);
    }
    shell.Frame();
    EXPECT_EQ(scene.level.name, "tower");
    EXPECT_FALSE(shell.IsMenuOpen());
    shell.Stop();
}

TEST(LevelSwitchTest, AFinishShowsThePanelAndEnterPlaysTheNextLevel) {
    TestSupport::ScratchDir dir;  // the best is saved beside the settings
    const std::filesystem::path game = std::filesystem::path(dir.Path()) / "game";
    std::filesystem::copy(STAGEWALK_SOURCE_DIR "/game", game, std::filesystem::copy_options::recursive);
    TestSupport::GameHarness shell;
    shell.Start(game.string());
    ASSERT_TRUE(shell.RunUntilLoaded());
    Application::Game& scene = *shell.GetGame();
    ASSERT_FALSE(scene.finish.Empty());
    // Put down just over the finish, and a step walked: the run starts, and ends standing there.
    const Application::FinishArea::Rectangle top = scene.finish.Rectangles().front();
    scene.player->position =
        glm::vec3((top.west + top.east) / 2, top.floor + 0.1f, (top.north + top.south) / 2);
    shell.OnKeyDown(GLFW_KEY_W);
    shell.Frame();  // pressed
    shell.Frame();  // held: walking
    shell.OnKeyUp(GLFW_KEY_W);
    for (int frame = 0; frame < 600 && !shell.IsFinishPanelShown(); ++frame) shell.Frame();
    ASSERT_TRUE(shell.IsFinishPanelShown());
    EXPECT_TRUE(std::filesystem::exists(game / "records.tml")) << "a first run is a best, kept at once";
    Tap(shell, GLFW_KEY_ENTER);
    for (int frame = 0; frame < kFrameBound && shell.GetLevel() == 0; ++frame) shell.Frame();
    EXPECT_EQ(shell.GetLevel(), 1u);
    EXPECT_FALSE(shell.IsFinishPanelShown());
    EXPECT_EQ(scene.player->position, scene.spawn.position);
    shell.Stop();
}

}  // namespace
