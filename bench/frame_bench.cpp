// A running frame with the shipped content under a real GL context (Xvfb and llvmpipe in
// scripts/bench): the game's update, its draw into the canvas, and the whole shell frame (update,
// clear, scene into the canvas, canvas into the window, swap), each finished with glFinish so the
// software rasteriser's work is counted. And the start-up in-process: the program's Init through to
// the first scene frame after loading. Both are skipped without an X display.
#include "application/game.h"
#include "engine/graphics/graphics.h"
#include "support/game_harness.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

const std::string GameFolder = STAGEWALK_SOURCE_DIR "/game";

std::unique_ptr<TestSupport::GameHarness> game;  // the running game of the frame benchmarks

// The running game, started once for all frame benchmarks.
TestSupport::GameHarness* RunningGame(benchmark::State& state) {
    static bool failed = false;
    if (!game && !failed) {
        game = std::make_unique<TestSupport::GameHarness>();
        std::cout.setstate(std::ios::failbit);
        try {
            game->Start(GameFolder);
            failed = !game->RunUntilLoaded();
        } catch (const std::runtime_error& error) {
            failed = true;
            state.SkipWithError(error.what());
        }
        std::cout.clear();
        if (!failed) {
            for (int i = 0; i < 10; ++i) game->Frame();
        }
    }
    if (failed) {
        state.SkipWithError("no running game (an X display is needed)");
        return nullptr;
    }
    // A start-up benchmark in between may have left its own (closed) context current.
    game->MakeCurrent();
    return game.get();
}

void FrameGameUpdate(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    for (auto _ : state) game->GetGame()->Update(1.0f);
}

void FrameSceneDraw(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    for (auto _ : state) {
        game->DrawSceneToCanvas(game->GetGraphics());
        glFinish();
    }
}

void FrameWhole(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    for (auto _ : state) {
        game->Frame();
        glFinish();
    }
}

void StartUpInProcess(benchmark::State& state) {
    for (auto _ : state) {
        TestSupport::GameHarness starting;
        std::cout.setstate(std::ios::failbit);
        bool ok = false;
        try {
            starting.Start(GameFolder);
            ok = starting.RunUntilLoaded(30.0, true);
        } catch (const std::runtime_error&) {
        }
        if (!ok) {
            std::cout.clear();
            state.SkipWithError("start-up failed (an X display is needed)");
            break;
        }
        glFinish();
        state.PauseTiming();
        starting.Stop();
        std::cout.clear();
        // The next start-up initialises the window library afresh, unless a running game needs it.
        if (!game) {
            glfwTerminate();
        } else {
            game->MakeCurrent();
        }
        state.ResumeTiming();
    }
}

BENCHMARK(FrameGameUpdate)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameSceneDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpInProcess)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
