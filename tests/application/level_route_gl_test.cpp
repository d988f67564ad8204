// The shipped level played through the real Game: a scripted player (keys and mouse through the
// input state and the virtual gamepad, one frame at a time at 60, 30, 20 and 10 frames a second)
// climbs from the spawn point to the top of the tower, the finish, and another walks off the open
// west edge of the terrace and respawns. A room change that breaks the route, a jump the player
// cannot make, or a frame rate that changes the path, fails here. The climb times the run; at 60
// frames a second its input is the committed demo demos/tower_run.tml, frame for frame
// (STAGEWALK_ROUTE_DEMO=FILE writes the demo it records to FILE, to renew the committed one). Both
// routes are heard too: the cues of their steps, at every frame rate.
#include "application/game.h"

#include "application/asset_names.h"
#include "application/control_state.h"
#include "application/demo_file.h"
#include "application/finish_area.h"
#include "application/level_identity.h"
#include "application/vpad.h"
#include "engine/assets/asset_buffer.h"
#include "engine/assets/assets.h"
#include "input_script.h"
#include "support/game_folder_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

using Application::ControlState;
using namespace TestSupport;

// One stretch of the route in world units: walk towards `target`; with `jumpWithin` > 0, press
// space (and keep it down) once the target is that close, to leap onto the next platform.
struct Leg {
    glm::vec2 target;  // x, z
    float jumpWithin = 0;
};

constexpr float kMouseScale = 96.0f;  // mouse pixels per radian of yaw
constexpr float kWalkSpeed = 0.2f;    // per 60-Hz step
const glm::vec3 kSpawn(0.1f, 10.0f, -15.0f);

class LevelRoute : public GameFolderGLTest, public ::testing::WithParamInterface<float> {
protected:
    void SetUp() override {
        GameFolderGLTest::SetUp();
        if (HasFatalFailure()) return;
        Engine::AssetBuffer buffer("data/assets.tml", &assets);
        while (!buffer.LoadNext()) {
        }
        assets.CreateModels();
        Application::Vpad::Init();
        Application::Vpad::ClearButtons();
        Application::Vpad::PushButton(KeySpace, 0);
        ControlState::Init();
        game.OnLoaded(&assets);
        ASSERT_NE(game.room, nullptr);
    }

    // One frame as the shell runs it: this frame's events, the gamepad, the scene, the input's end.
    void Frame(bool forward, bool jump, float turnTo) {
        const Application::Player& player = *game.player;
        if (forward != walking) forward ? ControlState::OnKeyDown(KeyW) : ControlState::OnKeyUp(KeyW);
        if (jump != jumping) jump ? ControlState::OnKeyDown(KeySpace) : ControlState::OnKeyUp(KeySpace);
        walking = forward, jumping = jump;
        // The cursor moves by the turn still missing; one pixel moves the view by 1/96 radian.
        mouseX += (player.rotation.y - turnTo) * kMouseScale;
        ControlState::OnMouseMove(mouseX, 0.0);
        if (recorder.IsOpen()) {
            // What the shell records: the frame's time in seconds and the input as the game reads it.
            const std::vector<int>& keys = ControlState::GetKeyStates();
            const std::vector<int>& buttons = ControlState::GetButtonStates();
            recorder.WriteFrame(GetParam() / 60.0, ControlState::GetMouseDelta(), keys.data(),
                                static_cast<int>(keys.size()), buttons.data(),
                                static_cast<int>(buttons.size()));
        }
        Application::Vpad::Update();
        game.Update(GetParam());
        ControlState::Update();
        if (const int64_t steps = game.TakeFinishedRun(); steps >= 0) finishedRun = steps;
        lowest = std::min(lowest, game.player->position.y);
        for (const Application::CueEvent& cue : game.cues) {
            ++heard[static_cast<size_t>(cue.cue)];
            if (cue.cue == Application::Cue::Footstep) lastFootfall = frames;
        }
        ++frames;
    }
    int Heard(Application::Cue cue) const { return heard[static_cast<size_t>(cue)]; }

    // Walks the legs in order; false when a leg is not reached within its frame budget. A jump
    // keeps space down from the take-off until the player stands again; it is pressed within one
    // frame's walk of the jump point, as a player at that frame rate would.
    bool Walk(const std::vector<Leg>& legs) {
        for (const Leg& leg : legs) {
            enum { Before, Pressed, Airborne, Landed } jump = Before;
            int frame = 0;
            for (; frame < 600; ++frame) {
                const Application::Player& player = *game.player;
                const glm::vec2 to = leg.target - glm::vec2(player.position.x, player.position.z);
                if (glm::length(to) < 1.0f && player.onGround) break;
                const float reach = leg.jumpWithin + kWalkSpeed * GetParam();
                if (jump == Before && glm::length(to) <= reach && player.onGround) jump = Pressed;
                if (jump == Pressed && !player.onGround) jump = Airborne;
                if (jump == Airborne && player.onGround) jump = Landed;
                Frame(true, jump == Pressed || jump == Airborne, std::atan2(to.x, to.y));
            }
            if (frame == 600) return false;
        }
        for (int frame = 0; frame < 60; ++frame) Frame(false, false, game.player->rotation.y);
        return true;
    }

    Engine::Assets assets;
    Application::Game game;
    bool walking = false, jumping = false;
    double mouseX = 0;
    float lowest = 1e9f;
    Application::DemoWriter recorder;
    int64_t finishedRun = -1;
    std::array<int, Application::kCueCount> heard{};
    int frames = 0;
    int lastFootfall = -1;
};

TEST_P(LevelRoute, FromTheSpawnToTheTopOfTheTowerWithoutFalling) {
    const std::string committed = "demos/tower_run.tml";
    const char* renew = std::getenv("STAGEWALK_ROUTE_DEMO");
    const std::string recording = renew != nullptr ? renew : ::testing::TempDir() + "route_demo.tml";
    Application::DemoHeader header;
    header.version = STAGEWALK_VERSION;
    const Tml::Document* data = assets.GetDocument(Application::AssetNames::Level);
    header.room = Application::LevelIdentity(game.room, data);
    // Named alike from the files before a window opens (a demo's check) and from the store after.
    EXPECT_EQ(Application::LevelIdentityOfFiles("data/room2.obj", "data/room2.level.tml"), header.room);
    std::string error;
    if (GetParam() == 1.0f) {
        ASSERT_TRUE(recorder.Open(recording, header, error)) << error;
    }
    for (int frame = 0; frame < 120; ++frame) Frame(false, false, 0.0f);
    ASSERT_TRUE(game.player->onGround) << "the spawn lands on the terrace";
    EXPECT_EQ(Heard(Application::Cue::Land), 1) << "the spawn's fall is heard";
    EXPECT_EQ(Heard(Application::Cue::Footstep), 0) << "no footfalls standing";
    const auto finish =
        Application::FinishArea::FromDocument(assets.GetDocument(Application::AssetNames::Level));
    EXPECT_FALSE(finish.Holds(*game.player)) << "the run does not end where it starts";
    const float terrace = game.player->position.y;
    lowest = terrace;
    // Down the ramp into the courtyard, past its pillar to the open east edge, then five jumps up
    // the platforms: east, east, north, west, north.
    const bool arrived = Walk({{{10, -7}},
                               {{10, 13}},
                               {{18, 17}},
                               {{16, 25}},
                               {{32, 25}, 11},
                               {{48, 25}, 11},
                               {{48, 9}, 11},
                               {{32, 9}, 11},
                               {{32, -7}, 11}});
    const glm::vec3 end = game.player->position;
    EXPECT_TRUE(arrived) << "stopped at " << end.x << ", " << end.y << ", " << end.z;
    EXPECT_TRUE(game.player->onGround);
    EXPECT_EQ(end.y, 32.0f) << "on the tower's top platform";
    EXPECT_TRUE(finish.Holds(*game.player)) << "the tower's top is the finish";
    EXPECT_GE(lowest, 2.0f) << "never below the courtyard floor";
    EXPECT_EQ(terrace, 8.0f);
    EXPECT_GT(finishedRun, 0) << "the run ends on the finish";
    // At 10 frames a second the script's first take-off comes too late and it jumps again.
    EXPECT_EQ(Heard(Application::Cue::Jump), GetParam() < 6.0f ? 5 : 6);
    EXPECT_EQ(Heard(Application::Cue::Land), Heard(Application::Cue::Jump) + 1)
        << "the spawn's fall and each jump's";
    EXPECT_EQ(Heard(Application::Cue::Finish), 1);
    EXPECT_GE(Heard(Application::Cue::Footstep), 10);
    EXPECT_LT(lastFootfall, frames - 40) << "footfalls stop when the player stands";
    if (!recorder.IsOpen()) return;
    ASSERT_TRUE(recorder.Close(end, error)) << error;
    // The committed demo is this route's input, frame for frame, and ends where the route ends.
    Application::Demo played, shipped;
    ASSERT_TRUE(Application::ReadDemo(recording, header.version, header.room, played, error)) << error;
    ASSERT_TRUE(Application::ReadDemo(committed, header.version, header.room, shipped, error))
        << error
        << " (renew it: STAGEWALK_ROUTE_DEMO=$PWD/game/demos/tower_run.tml build/tests/gl_tests "
           "--gtest_filter='*FromTheSpawn*/0')";
    ASSERT_EQ(played.frames.size(), shipped.frames.size());
    std::vector<int> keys[2] = {std::vector<int>(ControlState::KeyCount),
                                std::vector<int>(ControlState::KeyCount)};
    std::vector<int> buttons[2] = {std::vector<int>(ControlState::ButtonCount),
                                   std::vector<int>(ControlState::ButtonCount)};
    for (size_t i = 0; i < played.frames.size(); ++i) {
        const Application::DemoFrame &a = played.frames[i], &b = shipped.frames[i];
        played.Fill(i, keys[0], buttons[0]);
        shipped.Fill(i, keys[1], buttons[1]);
        ASSERT_TRUE(a.delta == b.delta && a.mouse == b.mouse && keys[0] == keys[1] &&
                    buttons[0] == buttons[1])
            << "frame " << i << " differs from the committed demo";
    }
    EXPECT_EQ(shipped.endPosition, end);
}

TEST_P(LevelRoute, WalkingOffTheWestEdgeRespawns) {
    bool respawned = false;
    float deepest = 0;
    for (int frame = 0; frame < 600 && !respawned; ++frame) {
        Frame(frame >= 60, false, -1.5707964f);  // face west (-x) and walk
        deepest = std::min(deepest, game.player->position.y);
        // The step of the respawn puts the player back at the spawn, and it falls on from there
        // with its unchanged velocity.
        const glm::vec3 p = game.player->position;
        respawned =
            deepest < -20.0f && glm::length(glm::vec2(p.x - kSpawn.x, p.z - kSpawn.z)) < 1.0f && p.y >= 8.0f;
    }
    EXPECT_TRUE(respawned) << "deepest " << deepest;
    // At 10 frames a second the respawn's frame falls on below the terrace's height, so the script
    // walks off the edge a second time before it sees the first.
    EXPECT_EQ(Heard(Application::Cue::Respawn), GetParam() < 6.0f ? 1 : 2);
    for (int frame = 0; frame < 120; ++frame) Frame(false, false, 0.0f);
    EXPECT_TRUE(game.player->onGround);
    EXPECT_EQ(game.player->position.y, 8.0f) << "back on the terrace";
    // The fall restarted the run, and landing on the terrace again does not start it.
    EXPECT_EQ(game.run.GetPhase(), Application::RunClock::Phase::Waiting);
    EXPECT_EQ(game.run.GetSteps(), 0);
    for (int frame = 0; frame < 2; ++frame) Frame(true, false, 0.0f);  // pressed, then held: walking
    EXPECT_EQ(game.run.GetPhase(), Application::RunClock::Phase::Running);
}

// dt: 60-Hz frames per frame.
INSTANTIATE_TEST_SUITE_P(FrameRates, LevelRoute, ::testing::Values(1.0f, 2.0f, 3.0f, 6.0f));

}  // namespace
