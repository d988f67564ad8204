#include "application/player.h"

#include "application/vpad.h"
#include "input_script.h"

#include <gtest/gtest.h>

#include <cmath>

using Application::ControlState;
using Application::Player;
using Application::Vpad;
using namespace TestSupport;
using namespace Application::Movement;

namespace {

constexpr float Pi = 3.14159265f;

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Vpad::Init();
        Vpad::ClearButtons();
        Vpad::PushButton(KeySpace, 0);  // the jump button, bound as the shell binds it
        Input({});
    }
    // The keys in their states plus a mouse movement, seen through the pad as in a frame.
    void Input(const std::vector<KeyInState>& keys, glm::vec2 mouse = glm::vec2(0.0f)) {
        SetKeys(keys);
        ControlState::OnMouseMove(mouse.x, mouse.y);
        Vpad::Update();
        player.ReadGamepad();
    }
    Player player{glm::vec3(0.1f, 10.0f, -15.0f)};
};

TEST_F(PlayerTest, ForwardStickEasesUpToWalkingSpeedAndStaysThere) {
    Input({{KeyW, ControlState::Held}});
    for (int frame = 1; frame <= 10; ++frame) {
        player.Update(1.0f);
        EXPECT_NEAR(player.velocity.z, WalkAcceleration * frame, 1e-6f) << frame;
    }
    // Ten float steps of 0.02f end one rounding short of 0.2f; the next clamps onto the target.
    for (int frame = 11; frame <= 12; ++frame) {
        player.Update(1.0f);
        EXPECT_EQ(player.velocity.z, WalkSpeed) << frame;
    }
    EXPECT_NEAR(player.velocity.x, 0.0f, 1e-7f);
    EXPECT_EQ(player.targetVelocity.y, FallSpeed);
}

TEST_F(PlayerTest, WalkDirectionIsRelativeToTheView) {
    const int H = ControlState::Held;
    const float w = WalkSpeed, d = WalkSpeed * DiagonalScale;  // d: each component of a diagonal
    const struct {
        std::vector<KeyInState> keys;
        float yaw;
        glm::vec2 target;  // (x, z)
    } cases[] = {{{{KeyW, H}}, 0, {0, w}},  {{{KeyW, H}}, Pi / 2, {w, 0}},       {{{KeyA, H}}, 0, {w, 0}},
                 {{{KeyS, H}}, 0, {0, -w}}, {{{KeyW, H}, {KeyA, H}}, 0, {d, d}}, {{}, 1.0f, {0, 0}}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        Input(cases[i].keys);
        player.rotation.y = cases[i].yaw;
        player.UpdateControl(1.0f);
        EXPECT_LT(glm::length(glm::vec2(player.targetVelocity.x, player.targetVelocity.z) - cases[i].target),
                  1e-6f)
            << "case " << i;
    }
}

TEST_F(PlayerTest, MouseTurnsByItsCountsOncePerFrameAndPitchStaysWithinTheLimit) {
    const struct {
        glm::vec2 mouse;
        float dt, yaw, pitch;  // after the frame's steps, accumulated
    } frames[] = {{{48, 0}, 2, -0.5f, 0},
                  {{0, -9600}, 1, -0.5f, PitchLimit},
                  {{0, 96000}, 1, -0.5f, -PitchLimit},
                  {{-96, 48}, 0.5f, 0.5f, -PitchLimit},
                  {{0, -96}, 6, 0.5f, 1 - PitchLimit}};
    for (const auto& f : frames) {
        Input({}, f.mouse);
        // A frame of several steps turns by its mouse movement once, whatever its dt.
        for (int step = 0; step < 3; ++step) player.UpdateControl(f.dt);
        EXPECT_FLOAT_EQ(player.rotation.y, f.yaw);
        EXPECT_FLOAT_EQ(player.rotation.x, f.pitch) << f.mouse.y;
    }
}

TEST_F(PlayerTest, JumpsOnlyFromTheGroundAndReleaseCutsARiseOnce) {
    Input({{KeySpace, ControlState::Pressed}});
    player.UpdateControl(1.0f);
    EXPECT_EQ(player.velocity.y, 0.0f) << "in the air";
    Input({{KeySpace, ControlState::Pressed}});
    player.onGround = true;
    player.UpdateControl(1.0f);
    EXPECT_EQ(player.velocity.y, JumpSpeed);
    EXPECT_EQ(player.bobPhase, JumpBobPhase + BobSettle)
        << "3/4 pi, then the resting run-on of the same frame";
    player.velocity.y = 0.0f;
    player.UpdateControl(1.0f);
    EXPECT_EQ(player.velocity.y, 0.0f) << "the press of the frame jumped on its first step only";

    const struct {
        int state;
        float before, after;
    } steps[] = {{ControlState::Held, 0.7f, 0.7f},
                 {ControlState::Released, 0.7f, 0.4f},
                 {ControlState::Up, 0.4f, 0.4f},
                 {ControlState::Released, -0.2f, -0.2f}};
    player.onGround = false;
    for (const auto& s : steps) {
        Input({{KeySpace, s.state}});
        player.velocity.y = s.before;
        player.UpdateControl(1.0f);
        player.UpdateControl(1.0f);  // a later step of the same frame cuts nothing
        EXPECT_FLOAT_EQ(player.velocity.y, s.after) << s.state << " " << s.before;
    }
}

TEST_F(PlayerTest, FallingOutOfTheWorldRespawnsKeepingVelocityAndAngles) {
    const glm::vec3 velocity(0.1f, -0.5f, 0.2f), rotation(0.3f, 1.2f, 0.0f);
    player.position = glm::vec3(40.0f, RespawnDepth, 3.0f);
    player.velocity = velocity;
    player.rotation = rotation;
    player.UpdateControl(1.0f);
    EXPECT_EQ(player.position.y, RespawnDepth) << "exactly the depth is still in the world";
    player.position.y = -25.01f;
    player.UpdateControl(1.0f);
    EXPECT_EQ(player.position, player.spawnPosition);
    EXPECT_EQ(player.velocity, velocity);
    EXPECT_EQ(player.rotation, rotation);
}

TEST_F(PlayerTest, BobFollowsSpeedOnTheGroundAndRunsOnToAZeroCrossing) {
    player.speed = 0.2f;
    player.UpdateControl(2.0f);
    EXPECT_EQ(player.bobPhase, 0.0f) << "airborne";
    player.onGround = true;
    player.UpdateControl(2.0f);
    EXPECT_FLOAT_EQ(player.bobPhase, 0.5f);

    player.speed = 0.0f;
    player.bobPhase = 0.1f;
    for (int step = 1; step <= 13; ++step) {
        player.UpdateControl(1.0f);
        EXPECT_NEAR(player.bobPhase, 0.1f + 0.225f * step, 1e-5f) << step;
    }
    EXPECT_LT(player.bobPhase, Pi);
    player.UpdateControl(1.0f);  // the next step would cross pi
    EXPECT_EQ(player.bobPhase, 0.0f);
    player.UpdateControl(1.0f);
    EXPECT_EQ(player.bobPhase, 0.0f) << "rests at zero";
}

// A footfall is the bob passing its lowest point (3/2 pi on each turn) while walking on the ground;
// the bob running on to rest past that point, a jump, or the air make none.
TEST_F(PlayerTest, FootfallsComeOncePerBobTurnWhileWalkingOnly) {
    const struct {
        float phase, speed;
        bool onGround, footfall;
    } cases[] = {{4.5f, 0.2f, true, true},     // 4.5 + 0.25 passes 3/2 pi
                 {4.8f, 0.2f, true, false},    // already past it
                 {10.9f, 0.2f, true, true},    // the next turn's lowest point, 3/2 pi + 2 pi
                 {4.6f, 0.0f, true, false},    // at rest the bob runs on through 3/2 pi unheard
                 {4.5f, 0.2f, false, false}};  // in the air the bob stands still
    for (const auto& c : cases) {
        player.bobPhase = c.phase;
        player.speed = c.speed;
        player.onGround = c.onGround;
        player.UpdateControl(1.0f);
        EXPECT_EQ(player.footfall, c.footfall) << c.phase << " " << c.speed << " " << c.onGround;
        EXPECT_FALSE(player.jumped);
    }
    Input({{KeySpace, ControlState::Pressed}});
    player.onGround = true;
    player.UpdateControl(1.0f);
    EXPECT_TRUE(player.jumped);
    player.UpdateControl(1.0f);
    EXPECT_FALSE(player.jumped) << "one jump for one press";
}

TEST_F(PlayerTest, CameraTakesTheEyeHeightAndTheAngles) {
    Engine::Camera1stPerson camera;
    player.rotation = glm::vec3(0.4f, -1.0f, 0.25f);
    player.bobPhase = Pi / 2;
    player.UpdateCamera(camera);
    EXPECT_EQ(camera.position, glm::vec3(0.1f, 12.0f, -15.0f)) << "airborne: no bob";
    EXPECT_EQ(camera.rotation, player.rotation);
    player.onGround = true;
    player.UpdateCamera(camera);
    EXPECT_FLOAT_EQ(camera.position.y, 12.5f);
}

}  // namespace
