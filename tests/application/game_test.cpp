#include "application/game.h"

#include "application/vpad.h"
#include "engine/assets/assets.h"
#include "input_script.h"
#include "markup/tml_reader.h"

#include <gtest/gtest.h>

using Application::ControlState;
using Application::Game;
using Application::Vpad;
using namespace TestSupport;

namespace {

const glm::vec3 Start(0.1f, 10.0f, -15.0f), Eye(0.0f, Application::Movement::EyeHeight, 0.0f);

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

TEST_F(GameTest, CameraShowsThePlayerAsThePreviousStepLeftIt) {
    Game game;
    game.Update(1.0f);
    EXPECT_EQ(game.camera.position, Start + Eye) << "placed before the player moved";
    EXPECT_EQ(game.camera.rotation, glm::vec3(0.0f));
    EXPECT_EQ(game.fps, 60.0f);
    const glm::vec3 moved = game.player->position;
    EXPECT_FLOAT_EQ(moved.y, 10.0f - Application::Movement::Gravity);
    EXPECT_FLOAT_EQ(moved.z, -15.0f + Application::Movement::WalkAcceleration)
        << "walked forward through the gamepad";

    game.Update(1.0f);
    EXPECT_EQ(game.camera.position, moved + Eye);
    EXPECT_FLOAT_EQ(game.camera.rotation.x, 0.5f) << "the look of the first update: 48 counts";
}

// A frame of dt runs the steps of that many 60-Hz frames, the frame's input on the first of them:
// the player ends bit for bit where frames of dt 1 with the same input take it, the counter shows
// the frame rate, and what is left of a step carries to the next frame.
TEST_F(GameTest, ALongFrameRunsTheStepsOfThatManyFramesAndTheCounterShowsItsRate) {
    const struct {
        std::vector<float> frames;
        int steps;
        float fps;
    } cases[] = {{{1}, 1, 60},
                 {{2}, 2, 30},
                 {{6}, 6, 10},
                 {{1.5f, 1.5f}, 3, 40},
                 {{1.05f}, 1, 57.142857f},
                 {{60}, 60, 1},
                 {{600}, 60, 0.1f},
                 {{0.5f, 0.5f}, 1, 120}};
    for (const auto& c : cases) {
        SetUp();  // W held, the mouse moved 48 counts up: the input of the first frame
        Game frames;
        for (float dt : c.frames) {
            frames.Update(dt);
            ControlState::Update();  // the frame's input ends; W stays held
            Vpad::Update();
        }
        SetUp();
        Game steps;
        for (int step = 0; step < c.steps; ++step) {
            steps.Update(1.0f);
            ControlState::Update();
            Vpad::Update();
        }
        EXPECT_EQ(frames.player->position, steps.player->position) << c.frames[0] << " x" << c.frames.size();
        EXPECT_EQ(frames.player->rotation, steps.player->rotation) << c.frames[0];
        EXPECT_EQ(frames.camera.position, steps.camera.position) << c.frames[0];
        EXPECT_FLOAT_EQ(frames.fps, c.fps) << c.frames[0];
    }
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

// The scene's own start stands: a level without a spawn of its own leaves the player where the updates
// before the assets came put it.
TEST_F(GameTest, LoadingALevelWithoutASpawnKeepsThePlayerAsItWas) {
    Game game;
    for (int frame = 0; frame < 3; ++frame) game.Update(1.0f);
    const glm::vec3 moved = game.player->position;
    Engine::Assets empty;
    game.OnLoaded(&empty);
    EXPECT_EQ(game.player->position, moved);
}

// A level starts the player at its spawn, facing its way, with a fresh run; entering it again after
// playing (a restart) puts everything back.
TEST_F(GameTest, EnteringALevelStartsThePlayerAtItsSpawn) {
    Engine::Assets store;
    store.AddDocument("yardLevel", Tml::ParseDocument("@ tangly-ml-v-020\n{ level\n{ spawn\n! x 1\n! y 2\n"
                                                      "! z 3\n! yaw 180\n}\n}\n",
                                                      "yard.level.tml"));
    const Application::Level yard{"yard", "The yard", "yard", "yardLevel"};
    Game game;
    for (int round = 0; round < 2; ++round) {
        game.EnterLevel(yard, &store);
        EXPECT_EQ(game.player->position, glm::vec3(8, 16, 24)) << round;
        EXPECT_EQ(game.player->spawnPosition, glm::vec3(8, 16, 24)) << round;
        EXPECT_EQ(game.camera.position, glm::vec3(8, 16, 24)) << round;
        EXPECT_FLOAT_EQ(game.player->rotation.y, 3.1415927f) << round;
        EXPECT_EQ(game.camera.rotation.y, game.player->rotation.y) << round;
        EXPECT_EQ(game.level.name, "yard");
        EXPECT_EQ(game.run.GetSteps(), 0) << round;
        for (int frame = 0; frame < 5; ++frame) game.Update(1.0f);  // walking and falling: no room
    }
}

}  // namespace
