// The shipped levels played through the real Game: a scripted player (keys and mouse through the
// input state and the virtual gamepad) walks each level from its spawn point to its finish at 60, 30,
// 20 and 10 frames a second, and another walks off the open west edge of the tower's terrace and
// respawns. The scripted player decides only every sixth step and holds its keys in between, so
// every rate feeds the game the same input step for step: a run takes the same path and ends in the
// same time at each, and a room change that breaks a route, a jump the player cannot make or a frame
// rate that changes the path fails here. At 60 frames a second a route's input is the level's
// committed demo, frame for frame (STAGEWALK_ROUTE_DEMO=DIR writes the demos it records into DIR, to
// renew the committed ones). The routes are heard too: the cues of their steps, alike at every rate.
#include "application/game.h"

#include "application/control_state.h"
#include "application/demo_file.h"
#include "application/level_identity.h"
#include "application/level_list.h"
#include "application/vpad.h"
#include "common/step_rate.h"
#include "engine/assets/asset_buffer.h"
#include "engine/assets/assets.h"
#include "input_script.h"
#include "markup/tml_reader.h"
#include "support/game_folder_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Application::ControlState;
using namespace TestSupport;

// One stretch of a route in world units: walk towards `target`; with `jumpWithin` > 0, press
// space (and keep it down) once the target is that close, to leap onto the next platform.
struct Leg {
    glm::vec2 target;  // x, z
    float jumpWithin = 0;
    int hold = 0;  // steps space stays down after the press; 0: until the landing
};

// A level's route from its spawn to its finish, and what it asks of the way (world units).
struct Course {
    const char* route;  // the test's name for it
    const char* level;  // its name in the manifest's level list
    const char* demo;   // its committed demo in the game folder; none for another way through
    float spawnFloor;   // the floor the spawn drops the player onto
    float lowest;       // the route never goes below this
    std::vector<Leg> legs;
};

const Course kCourses[] = {
    // Down the ramp into the courtyard, past its pillar to the open east edge, then five jumps up
    // the platforms: east, east, north, west, north (the last let go of early).
    {"tower",
     "tower",
     "demos/tower_run.tml",
     8,
     2,
     {{{11, -7}},
      {{9, 13}},
      {{20, 19}},
      {{16, 25}},
      {{32, 25}, 11},
      {{48, 25}, 11},
      {{48, 9}, 11},
      {{32, 9}, 11},
      {{32, -7}, 11, 24}}},
    // South along the walkway between its parapets and up its ramp, east over the platform and up
    // onto the ledge, south across a gap of one tile and one of two, west down the ramp and up onto
    // the finish.
    {"steps",
     "steps",
     "demos/steps_run.tml",
     8,
     8,
     {{{22, 90}},
      {{58, 90}, 11},
      {{58, 110}},
      {{58, 126}, 12},
      {{58, 146}, 14},
      {{30, 146}},
      {{14, 146}, 11}}},
    // The quick way: the plank with its two gaps, the junction, the walkway between the pillars, the
    // stepping stones, the high walkway round its corners and over its hump, the thin walkway north
    // with its two gaps, the bridge with its gap and the jump onto the dais.
    {"rooftops",
     "rooftops",
     "demos/rooftops_run.tml",
     8,
     8,
     {{{14, 20}},      {{14, 58}, 17},  {{14, 88}, 21},  {{14, 100}},        {{22, 110}},   {{22, 158}},
      {{40, 168}},     {{52, 168}, 11}, {{64, 168}, 11}, {{76, 168}, 11},    {{84, 170}},   {{110, 170}},
      {{110, 146}},    {{154, 146}},    {{154, 166}},    {{162, 166}},       {{162, 158}},  {{162, 120}, 18},
      {{162, 90}, 23}, {{162, 70}},     {{150, 70}},     {{124, 70}, 23.5f}, {{90, 68}, 11}}},
    // The safe way: through the yard, down the ramp from the south-east platform to the road, up
    // onto the far end of the north-east platform.
    {"rooftops_safe",
     "rooftops",
     nullptr,
     8,
     4,
     {{{40, 22}},         {{54, 22}},    {{54, 44}},   {{44, 72}},      {{30, 84}},      {{30, 96}},
      {{22, 110}},        {{22, 158}},   {{40, 168}},  {{52, 168}, 11}, {{64, 168}, 11}, {{76, 168}, 11},
      {{84, 170}},        {{110, 170}},  {{110, 146}}, {{154, 146}},    {{154, 166}},    {{178, 166}},
      {{178, 150}},       {{178, 94}},   {{184, 92}},  {{184, 76}},     {{172, 70}},     {{150, 70}},
      {{124, 70}, 23.5f}, {{90, 68}, 11}}},
};

constexpr int kDecision = 6;  // steps between the scripted player's decisions
constexpr float kMouseScale = Application::Movement::MouseCountsPerRadian;
constexpr float kWalkSpeed = Application::Movement::WalkSpeed;
constexpr float kArrival = 2.0f;  // a leg ends this close to its target: more than a decision's walk
const float kRates[] = {1.0f, 2.0f, 3.0f, 6.0f};  // dt: 60-Hz steps per frame, each dividing kDecision
const glm::vec3 kSpawn(0.1f, 10.0f, -15.0f);

// The shipped game folder's assets, all of them, and its level list.
class ShippedLevels : public GameFolderGLTest {
protected:
    void SetUp() override {
        GameFolderGLTest::SetUp();
        if (HasFatalFailure()) return;
        Engine::AssetBuffer buffer("data/assets.tml", &assets);
        while (!buffer.LoadNext()) {
        }
        assets.CreateModels();
        const std::unique_ptr<Tml::Document> manifest(Tml::LoadDocument("data/assets.tml"));
        ASSERT_NE(manifest, nullptr);
        levels = Application::LevelList::Read(*manifest);
    }
    Engine::Assets assets;
    Application::LevelList levels;
};

// The scripted player in a fresh game of one level, at frames of `dt` steps.
class Runner {
public:
    Runner(const Application::Level& level, Engine::Assets* assets, float dt) : dt(dt) {
        Application::Vpad::Init();
        Application::Vpad::ClearButtons();
        Application::Vpad::PushButton(KeySpace, 0);
        ControlState::Init();
        game.level = level;
        game.OnLoaded(assets);
    }

    // One frame as the shell runs it: this frame's events, the gamepad, the scene, the input's end.
    // The cursor moves by the turn still missing (one pixel turns the view by 1/96 radian), and only
    // on a decision.
    void Frame(bool forward, bool jump, float turnTo, bool decide) {
        if (forward != walking) forward ? ControlState::OnKeyDown(KeyW) : ControlState::OnKeyUp(KeyW);
        if (jump != jumping) jump ? ControlState::OnKeyDown(KeySpace) : ControlState::OnKeyUp(KeySpace);
        walking = forward, jumping = jump;
        if (decide) mouseX += (game.player->rotation.y - turnTo) * kMouseScale;
        ControlState::OnMouseMove(mouseX, 0.0);
        if (recorder.IsOpen()) {
            // What the shell records: the frame's time in seconds and the input as the game reads it.
            const std::vector<int>& keys = ControlState::GetKeyStates();
            const std::vector<int>& buttons = ControlState::GetButtonStates();
            recorder.WriteFrame(static_cast<double>(dt) / Common::StepsPerSecond,
                                ControlState::GetMouseDelta(), keys.data(), static_cast<int>(keys.size()),
                                buttons.data(), static_cast<int>(buttons.size()));
        }
        Application::Vpad::Update();
        game.Update(dt);
        ControlState::Update();
        steps += static_cast<int>(dt);
        if (const int64_t run = game.TakeFinishedRun(); run >= 0) finishedRun = run;
        lowest = std::min(lowest, game.player->position.y);
        for (const Application::CueEvent& cue : game.cues) {
            ++heard[static_cast<size_t>(cue.cue)];
            if (cue.cue == Application::Cue::Footstep) lastFootfall = steps;
        }
    }
    int Heard(Application::Cue cue) const { return heard[static_cast<size_t>(cue)]; }

    // Frames with no key down for `count` steps.
    void Stand(int count) {
        for (const int end = steps + count; steps < end;) Frame(false, false, game.player->rotation.y, false);
    }

    // Walks the legs in order; false when a leg is not reached within 600 steps. A jump keeps space
    // down from the take-off until the player stands again; it is pressed within one decision's
    // walk of the jump point.
    bool Walk(const std::vector<Leg>& legs) {
        enum { Before, Pressed, Airborne, Landed } jump = Before;
        size_t leg = 0;
        int legSteps = 0, pressedAt = 0;
        // The frame W goes down in reads it pressed and moves nothing: its last step is the step
        // before a decision, so that the player starts walking at the decision at every rate.
        Stand(kDecision - static_cast<int>(dt));
        Frame(true, false, game.player->rotation.y, false);
        bool forward = true, space = false;
        float turnTo = game.player->rotation.y;
        while (true) {
            const bool decide = steps % kDecision == 0;
            if (decide) {
                const Application::Player& player = *game.player;
                glm::vec2 to = legs[leg].target - glm::vec2(player.position.x, player.position.z);
                if (glm::length(to) < kArrival && player.onGround) {
                    if (++leg == legs.size()) break;
                    jump = Before, legSteps = 0;
                    to = legs[leg].target - glm::vec2(player.position.x, player.position.z);
                }
                if (legSteps > 600) return false;
                const float reach = legs[leg].jumpWithin + kWalkSpeed * kDecision;
                if (jump == Before && glm::length(to) <= reach && player.onGround) jump = Pressed;
                if (jump == Pressed && !player.onGround) jump = Airborne, pressedAt = steps - kDecision;
                if (jump == Airborne && legs[leg].hold > 0 && steps - pressedAt >= legs[leg].hold)
                    jump = Landed;
                if (jump == Airborne && player.onGround) jump = Landed;
                forward = true, space = jump == Pressed || jump == Airborne, turnTo = std::atan2(to.x, to.y);
            }
            Frame(forward, space, turnTo, decide);
            legSteps += static_cast<int>(dt);
        }
        Stand(60);
        return true;
    }

    const float dt;
    Application::Game game;
    Application::DemoWriter recorder;
    int steps = 0;
    int64_t finishedRun = -1;
    float lowest = 1e9f;
    int lastFootfall = -1;  // the step after the last footfall heard

private:
    std::array<int, Application::kCueCount> heard{};
    bool walking = false, jumping = false;
    double mouseX = 0;
};

class LevelRoute : public ShippedLevels, public ::testing::WithParamInterface<Course> {};

TEST_P(LevelRoute, FromTheSpawnToTheFinishInOneTimeAtEveryRate) {
    const Course& course = GetParam();
    const int index = levels.IndexOf(course.level);
    ASSERT_GE(index, 0) << course.level << " is not listed";
    const char* renew = std::getenv("STAGEWALK_ROUTE_DEMO");
    const std::string name = std::string(course.route) + "_run.tml";
    const std::string recording = (renew != nullptr ? std::string(renew) : ::testing::TempDir()) + "/" + name;
    Application::DemoHeader header;
    header.version = STAGEWALK_VERSION;
    const Application::Level& level = levels.At(index);
    header.room = Application::LevelIdentity(assets.GetModel(level.room), assets.GetDocument(level.data));
    std::string error;
    int64_t time = -1;
    glm::vec3 recordedEnd(0.0f);
    for (const float dt : kRates) {
        SCOPED_TRACE(std::string(course.level) + " at dt " + std::to_string(dt));
        Runner runner(level, &assets, dt);
        if (dt == 1.0f && course.demo != nullptr) {
            ASSERT_TRUE(runner.recorder.Open(recording, header, error)) << error;
        }
        runner.Stand(120);
        ASSERT_TRUE(runner.game.player->onGround) << "the spawn lands on a floor";
        EXPECT_EQ(runner.Heard(Application::Cue::Land), 1) << "the spawn's fall is heard";
        EXPECT_EQ(runner.Heard(Application::Cue::Footstep), 0) << "no footfalls standing";
        EXPECT_EQ(runner.game.player->position.y, course.spawnFloor);
        EXPECT_FALSE(runner.game.finish.Holds(*runner.game.player)) << "the run does not end where it starts";
        runner.lowest = runner.game.player->position.y;
        const bool arrived = runner.Walk(course.legs);
        const glm::vec3 end = runner.game.player->position;
        EXPECT_TRUE(arrived) << "stopped at " << end.x << ", " << end.y << ", " << end.z;
        EXPECT_TRUE(runner.game.finish.Holds(*runner.game.player)) << "on the finish";
        EXPECT_GE(runner.lowest, course.lowest);
        EXPECT_GT(runner.finishedRun, 0) << "the run ends on the finish";
        const auto jumps = std::count_if(course.legs.begin(), course.legs.end(),
                                         [](const Leg& leg) { return leg.jumpWithin > 0; });
        EXPECT_EQ(runner.Heard(Application::Cue::Jump), jumps);
        EXPECT_GE(runner.Heard(Application::Cue::Land), jumps + 1) << "the spawn's fall and each jump's";
        EXPECT_EQ(runner.Heard(Application::Cue::Finish), 1);
        EXPECT_GE(runner.Heard(Application::Cue::Footstep), 10);
        EXPECT_LT(runner.lastFootfall, runner.steps - 40) << "footfalls stop when the player stands";
        if (dt == 1.0f) time = runner.finishedRun;
        EXPECT_EQ(runner.finishedRun, time) << "another time than at dt 1";
        std::printf("%s at dt %g: finished in %lld steps (%.2f s)\n", course.level, dt,
                    static_cast<long long>(runner.finishedRun),
                    runner.finishedRun / static_cast<double>(Common::StepsPerSecond));
        if (runner.recorder.IsOpen()) {
            ASSERT_TRUE(runner.recorder.Close(end, error)) << error;
            recordedEnd = end;
        }
    }
    // The committed demo is the route's input at dt 1, frame for frame, and ends where it ends.
    if (course.demo == nullptr) return;
    Application::Demo played, shipped;
    ASSERT_TRUE(Application::ReadDemo(recording, header.version, header.room, played, error)) << error;
    ASSERT_TRUE(Application::ReadDemo(course.demo, header.version, header.room, shipped, error))
        << error
        << " (renew it: STAGEWALK_ROUTE_DEMO=$PWD/game/demos build/tests/gl_tests "
           "--gtest_filter='*FromTheSpawn*')";
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
    EXPECT_EQ(shipped.endPosition, recordedEnd);
}

INSTANTIATE_TEST_SUITE_P(Levels, LevelRoute, ::testing::ValuesIn(kCourses),
                         [](const ::testing::TestParamInfo<Course>& info) {
                             return std::string(info.param.route);
                         });

class TowerEdge : public ShippedLevels, public ::testing::WithParamInterface<float> {};

TEST_P(TowerEdge, WalkingOffTheWestEdgeRespawns) {
    Runner runner(levels.At(levels.IndexOf("tower")), &assets, GetParam());
    bool respawned = false;
    float deepest = 0;
    for (int frame = 0; frame < 600 && !respawned; ++frame) {
        runner.Frame(frame >= 60, false, -1.5707964f, true);  // face west (-x) and walk
        deepest = std::min(deepest, runner.game.player->position.y);
        // The step of the respawn puts the player back at the spawn, and it falls on from there
        // with its unchanged velocity.
        const glm::vec3 p = runner.game.player->position;
        respawned =
            deepest < -20.0f && glm::length(glm::vec2(p.x - kSpawn.x, p.z - kSpawn.z)) < 1.0f && p.y >= 8.0f;
    }
    EXPECT_TRUE(respawned) << "deepest " << deepest;
    // At 10 frames a second the respawn's frame falls on below the terrace's height, so the script
    // walks off the edge a second time before it sees the first.
    EXPECT_EQ(runner.Heard(Application::Cue::Respawn), GetParam() < 6.0f ? 1 : 2);
    for (int frame = 0; frame < 120; ++frame) runner.Frame(false, false, 0.0f, true);
    EXPECT_TRUE(runner.game.player->onGround);
    EXPECT_EQ(runner.game.player->position.y, 8.0f) << "back on the terrace";
    // The fall restarted the run, and landing on the terrace again does not start it.
    EXPECT_EQ(runner.game.run.GetPhase(), Application::RunClock::Phase::Waiting);
    EXPECT_EQ(runner.game.run.GetSteps(), 0);
    for (int frame = 0; frame < 2; ++frame)
        runner.Frame(true, false, 0.0f, true);  // pressed, then held: walking
    EXPECT_EQ(runner.game.run.GetPhase(), Application::RunClock::Phase::Running);
}

// dt: 60-Hz frames per frame.
INSTANTIATE_TEST_SUITE_P(FrameRates, TowerEdge, ::testing::Values(1.0f, 2.0f, 3.0f, 6.0f));

}  // namespace
