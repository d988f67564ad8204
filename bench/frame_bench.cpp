// A running frame with the shipped content under a real GL context (Xvfb and llvmpipe in
// scripts/bench): the game's update (a normal frame, one bare step, and a frame after a one-second
// stall), its draw into the canvas, and the whole shell frame (update,
// clear, scene into the canvas, canvas into the window, swap), each finished with glFinish so the
// software rasteriser's work is counted. And the start-up in-process: the program's Init through to
// the first scene frame after loading. Both are skipped without an X display.
#include "application/game.h"
#include "engine/assets/model_conversion.h"
#include "engine/graphics/graphics.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/model.h"
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
const std::string OldRoom = STAGEWALK_SOURCE_DIR "/bench/data/terrace_room2.obj";

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

// For one benchmark: `room` drawn and collided with, the player back at its spawn point; the room
// and the player as they were afterwards.
class RoomInUse {
public:
    RoomInUse(Application::Game* game, Engine::Model* room)
        : game(game), player(*game->player), room(game->room) {
        Use(room);
        game->player->position = game->player->spawnPosition;
        game->player->velocity = glm::vec3(0.0f);
    }
    ~RoomInUse() {
        Use(room);
        *game->player = player;
    }

private:
    void Use(Engine::Model* model) {
        game->room = model;
        game->PrepareCollision(model->GetMesh(0)->GetPositions());
    }
    Application::Game* game;
    Application::Player player;
    Engine::Model* room;
};

// Whole frames after the landing from the spawn point, with the triangles tested per collision pass.
void WholeFrames(benchmark::State& state, TestSupport::GameHarness* game, Engine::Model* room) {
    RoomInUse use(game->GetGame(), room);
    for (int i = 0; i < 90; ++i) game->Frame();
    double tested = 0;
    for (auto _ : state) {
        game->Frame();
        glFinish();
        tested += static_cast<double>(game->GetGame()->GetCollisionMesh().GetTestedCount());
    }
    state.counters["tested"] = benchmark::Counter(tested, benchmark::Counter::kAvgIterations);
    state.counters["triangles"] = static_cast<double>(game->GetGame()->GetCollisionMesh().GetTriangleCount());
}

void FrameGameUpdate(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    for (auto _ : state) game->GetGame()->Update(1.0f);
}

// One bare 60-Hz step of the world: what a frame's update was before frames were cut into steps.
void FrameGameStep(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    for (auto _ : state) game->GetGame()->Step();
}

// A frame after a one-second stall: sixty steps.
void FrameGameUpdateStall(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    for (auto _ : state) game->GetGame()->Update(60.0f);
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
    WholeFrames(state, game, game->GetGame()->room);
}

void FrameWholeOldRoom(benchmark::State& state) {
    TestSupport::GameHarness* game = RunningGame(state);
    if (!game) return;
    static Engine::Model* const old = Engine::CreateModel(Engine::ConvertObj(OldRoom));
    WholeFrames(state, game, old);
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
BENCHMARK(FrameGameStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameGameUpdateStall)->Unit(benchmark::kMicrosecond);
BENCHMARK(FrameSceneDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(FrameWholeOldRoom)->Unit(benchmark::kMillisecond);
BENCHMARK(StartUpInProcess)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
