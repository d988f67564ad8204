// The jump figures the modding guide quotes, measured on the real player: a change to the movement
// that leaves the guide behind fails here.
#include "application/input_script.h"
#include "application/player.h"
#include "application/stage.h"
#include "application/vpad.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using Application::ControlState;
using namespace TestSupport;

// Jumps from flat ground, holding the button for `held` frames; the highest the feet get and the
// frames until they are back at the take-off height.
void Jump(int held, float& apex, int& frames) {
    Application::Vpad::Init();
    Application::Vpad::ClearButtons();
    Application::Vpad::PushButton(KeySpace, 0);
    Application::Player player(glm::vec3(0.0f));
    player.onGround = true;
    apex = 0.0f;
    for (frames = 0; frames == 0 || player.position.y > 0.0f; ++frames) {
        const int state = frames == 0      ? ControlState::Pressed
                          : frames < held  ? ControlState::Held
                          : frames == held ? ControlState::Released
                                           : ControlState::Up;
        SetKeys({{KeySpace, state}});
        Application::Vpad::Update();
        player.Update(1.0f);
        apex = std::max(apex, player.position.y);
    }
}

std::string Figure(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

TEST(GuideFiguresTest, JumpFiguresInTheGuideAreThePlayers) {
    float full = 0.0f;
    float tap = 0.0f;
    int fullFrames = 0;
    int tapFrames = 0;
    Jump(1000, full, fullFrames);
    Jump(1, tap, tapFrames);
    const float scale = Application::Stage::RoomScale;
    const std::string quoted[] = {
        Figure("| full jump | %.2f", full) + Figure(" | %.3f", full / scale) +
            Figure(" | %.0f |", fullFrames),
        Figure("| tapped jump | %.2f", tap) + Figure(" | %.3f", tap / scale) + Figure(" | %.0f |", tapFrames),
        Figure("%.1f world units", fullFrames * 0.2) +
            Figure(" (%.2f model units)", fullFrames * 0.2 / scale),
    };
    const std::string guide = ReadFile(std::string(STAGEWALK_SOURCE_DIR) + "/docs/modding.md");
    for (const std::string& figure : quoted) EXPECT_NE(guide.find(figure), std::string::npos) << figure;
}

}  // namespace
