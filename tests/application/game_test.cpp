#include "application/game.h"

#include "application/vpad.h"
#include "engine/assets/assets.h"
#include "input_script.h"

#include <gtest/gtest.h>

using Application::ControlState;
using Application::Game;
using Application::Vpad;
using namespace TestSupport;

namespace {

const glm::vec3 Start(0.1f, 10.0f, -15.0f), Eye(0.0f, 2.0f, 0.0f);

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        Vpad::Init();
        Vpad::ClearButtons();
        Vpad::PushButton(KeySpace, 0);
        SetKeys({{KeyW, ControlState::Held}});
        ControlState::OnMouseMove(0.0, -48.0);
        Vpad::Update();
    }
};

TEST_F(GameTest, ConstructionPlacesCameraAndPlayerAtTheStart) {
    Game game;
    ASSERT_NE(game.player, nullptr);
    EXPECT_EQ(game.player->spawnPosition, Start);
    EXPECT_EQ(game.camera.position, Start);
    EXPECT_EQ(game.camera.rotation, glm::vec3(0.0f));
    EXPECT_EQ(game.fps, 0.0f);
}

TEST_F(GameTest, CameraShowsThePlayerAsThePreviousFrameLeftIt) {
    Game game;
    game.Update(2.0f);
    EXPECT_EQ(game.camera.position, Start + Eye) << "placed before the player moved";
    EXPECT_EQ(game.camera.rotation, glm::vec3(0.0f));
    EXPECT_EQ(game.fps, 30.0f);
    const glm::vec3 moved = game.player->position;
    EXPECT_FLOAT_EQ(moved.y, 10.0f - 0.12f);
    EXPECT_FLOAT_EQ(moved.z, -15.0f + 0.08f) << "walked forward through the gamepad";

    game.Update(1.0f);
    EXPECT_EQ(game.camera.position, moved + Eye);
    EXPECT_FLOAT_EQ(game.camera.rotation.x, 1.0f) << "the look of the first update";
}

TEST_F(GameTest, DestroyIsSafeBeforeAndAfterLoading) {
    Game game;
    game.Destroy();
    Engine::Assets empty;
    game.OnLoaded(&empty);
    EXPECT_EQ(game.font, nullptr);
    EXPECT_EQ(game.room, nullptr);
    game.Update(1.0f);  // no room: nothing to land on
    EXPECT_FALSE(game.player->onGround);
    game.Destroy();
}

}  // namespace
