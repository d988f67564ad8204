// Once the game runs, a frame allocates nothing: the scene's update and draw, the HUD text, the
// collision pass, the facade's draws, the shell's canvas draw, the sounds it plays and the demo
// writer's frame. Global operator
// new is replaced in this test binary; it counts only while a frame is being measured and otherwise just
// allocates.
#include "application/control_state.h"
#include "application/demo_file.h"
#include "application/game.h"
#include "engine/audio/audio_device.h"
#include "engine/core/keys.h"
#include "engine/graphics/graphics.h"
#include "support/game_harness.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* Allocate(std::size_t size) {
    if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(FrameAllocationTest, RunningFramesAllocateNothing) {
    TestSupport::GameHarness game;
    testing::internal::CaptureStdout();
    game.Start(STAGEWALK_SOURCE_DIR "/game");
    ASSERT_TRUE(game.RunUntilLoaded());
    // The counter itself must see allocations, or a zero below proves nothing.
    allocations = 0;
    counting = true;
    delete new int(1);
    counting = false;
    ASSERT_EQ(allocations, 1);
    // Warm-up: the driver reaches its steady state.
    allocations = 0;
    counting = true;
    for (int i = 0; i < 3; ++i) game.Frame();
    counting = false;
    std::fprintf(stderr, "warm-up allocations: %ld\n", allocations.load());

    long perKind[3] = {0, 0, 0};
    const char* const kinds[3] = {"Game::Update", "Game::Draw into the canvas",
                                  "shell frame (update + draw + canvas)"};
    Engine::Graphics* graphics = game.GetGraphics();
    // Walking and jumping: the shell plays footsteps, jumps and landings in the frames measured.
    game.OnKeyDown(Engine::Key::W);
    int voicesPlaying = 0;
    for (int i = 0; i < 300; ++i) {
        if (i % 60 == 0) game.OnKeyDown(Engine::Key::Space);
        if (i % 60 == 30) game.OnKeyUp(Engine::Key::Space);
        allocations = 0;
        counting = true;
        game.GetGame()->Update(i % 7 == 0 ? 2.5f : 1.0f);
        counting = false;
        perKind[0] += allocations;

        allocations = 0;
        counting = true;
        game.DrawSceneToCanvas(graphics);
        counting = false;
        perKind[1] += allocations;

        allocations = 0;
        counting = true;
        game.Frame();
        counting = false;
        perKind[2] += allocations;
        voicesPlaying = std::max(voicesPlaying, game.GetAudio().PlayingVoices());
    }
    EXPECT_GT(voicesPlaying, 0) << "no sound played";
    game.Stop();
    testing::internal::GetCapturedStdout();
    for (int k = 0; k < 3; ++k) EXPECT_EQ(perKind[k], 0) << kinds[k] << " allocated over 300 frames";
}

// Every draw of the facade, with the shipped textures and models, in a running game.
TEST(FrameAllocationTest, FacadeDrawsAllocateNothing) {
    TestSupport::GameHarness game;
    testing::internal::CaptureStdout();
    game.Start(STAGEWALK_SOURCE_DIR "/game");
    ASSERT_TRUE(game.RunUntilLoaded());
    Engine::Graphics* g = game.GetGraphics();
    Application::Game* scene = game.GetGame();
    const std::vector<Engine::Texture*> textures{scene->sky, scene->cityBg};
    const std::string text = "FPS: 60 and a longer line of text than any small-string buffer holds";
    auto drawAll = [&] {
        g->DrawText(scene->font, text, 1.0f, 1.0f);
        g->DrawSprite(scene->crosshair, 10.0f, 10.0f, 1.0f, 1.0f);
        g->DrawSpriteRegion(scene->font, 0.0f, 0.0f, 8.0f, 8.0f, 5.0f, 5.0f, 16.0f, 16.0f);
        g->DrawTriangle(0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 10.0f);
        g->DrawModel(scene->skybox, textures);
        g->DrawModel(scene->room, static_cast<Engine::Texture*>(nullptr));
        g->transform.PushMatrix();
        g->transform.PushMatrix();
        g->transform.Apply();
        g->transform.PopMatrix();
        g->transform.PopMatrix();
    };
    drawAll();
    allocations = 0;
    counting = true;
    for (int i = 0; i < 50; ++i) drawAll();
    counting = false;
    const long counted = allocations;
    game.Stop();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(counted, 0);
}

// Recording a frame, with every key and button down at once (the longest line), allocates nothing.
TEST(FrameAllocationTest, RecordingADemoFrameAllocatesNothing) {
    TestSupport::ScratchDir dir;
    Application::DemoWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(dir.File("run.demo"), {"1.0.0", "0123456789abcdef"}, error)) << error;
    std::vector<int> keys(Application::ControlState::KeyCount, Application::ControlState::Released);
    std::vector<int> buttons(Application::ControlState::ButtonCount, Application::ControlState::Pressed);
    writer.WriteFrame(0.1, {1.0f, 2.0f}, keys.data(), static_cast<int>(keys.size()), buttons.data(),
                      static_cast<int>(buttons.size()));
    allocations = 0;
    counting = true;
    for (int i = 0; i < 100; ++i) {
        writer.WriteFrame(1.0 / 3.0, {-0.1f, 1e-30f}, keys.data(), static_cast<int>(keys.size()),
                          buttons.data(), static_cast<int>(buttons.size()));
    }
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(writer.FrameCount(), 101u);
    writer.Abandon();
}

}  // namespace
