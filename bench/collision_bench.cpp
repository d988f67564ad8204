// The per-frame collision pass over generated levels of 1k, 10k and 100k triangles, the plain pass
// (every triangle, scaled and resolved in turn) against the prepared one that skips runs of far
// triangles, and the prepared pass in the shipped room. The same actor walks the same path in both: it steers
// in a slowly turning direction through a room, so it lands on floors and is pushed by walls as in play.
#include "application/stage.h"
#include "collision/actor.h"
#include "collision/collision_mesh.h"
#include "engine/assets/model_conversion.h"
#include "support/level_generator.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <memory>

namespace {

constexpr float StageScale = 8.0f;

struct Level {
    TestSupport::GeneratedLevel generated;
    Application::CollisionMesh mesh;
};

const Level& LevelOf(size_t triangles) {
    static std::map<size_t, std::unique_ptr<Level>> made;
    std::unique_ptr<Level>& level = made[triangles];
    if (!level) {
        level = std::make_unique<Level>();
        level->generated = TestSupport::GenerateLevel(triangles, 2024);
        level->mesh.Build(level->generated.positions, StageScale);
    }
    return *level;
}

// A player-like actor in the middle of the level, walking.
class Walker {
public:
    explicit Walker(const Level& level) : start(level.generated.spots[level.generated.spots.size() / 8 * 4]) {
        actor.radius = 0.5f;
        actor.acceleration =
            glm::vec3(Application::Movement::WalkAcceleration, Application::Movement::Gravity,
                      Application::Movement::WalkAcceleration);
        actor.targetVelocity.y = Application::Movement::FallSpeed;
        actor.position = start + glm::vec3(0.13f, 0.5f, 0.17f);
    }
    Application::Actor& Step() {
        // The stick turns a little every frame and reverses now and then: walls, corners, ramps.
        const float angle = 0.004f * static_cast<float>(frame++);
        actor.targetVelocity.x = Application::Movement::WalkSpeed * std::cos(angle);
        actor.targetVelocity.z = Application::Movement::WalkSpeed * std::sin(angle * 1.7f);
        if (frame % 90 == 0 && actor.onGround) actor.velocity.y = Application::Movement::JumpSpeed;
        if (actor.position.y < Application::Movement::RespawnDepth) actor.position = start;
        actor.Update(1.0f);
        return actor;
    }

private:
    glm::vec3 start;
    Application::Actor actor;
    int frame = 0;
};

void Finish(benchmark::State& state, size_t triangles) {
    state.counters["triangles"] = static_cast<double>(triangles);
    // Seconds per triangle, shown with a unit prefix (n = nanoseconds).
    state.counters["per_triangle"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * triangles,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void CollisionPlain(benchmark::State& state) {
    const size_t triangles = static_cast<size_t>(state.range(0));
    const Level& level = LevelOf(triangles);
    Walker walker(level);
    for (auto _ : state) {
        Application::Actor& actor = walker.Step();
        Application::Stage::CollideWithTriangles(&actor, level.generated.positions, 1.0f);
        benchmark::DoNotOptimize(actor.position);
    }
    Finish(state, triangles);
}

// The prepared pass, one per iteration, for the walker; counts the triangles it tests.
void WalkPrepared(benchmark::State& state, const Level& level) {
    Walker walker(level);
    size_t tested = 0;
    for (auto _ : state) {
        Application::Actor& actor = walker.Step();
        level.mesh.Collide(&actor, 1.0f);
        tested += level.mesh.GetTestedCount();
        benchmark::DoNotOptimize(actor.position);
    }
    state.counters["tested"] =
        benchmark::Counter(static_cast<double>(tested), benchmark::Counter::kAvgIterations);
}

void CollisionPrepared(benchmark::State& state) {
    const size_t triangles = static_cast<size_t>(state.range(0));
    WalkPrepared(state, LevelOf(triangles));
    Finish(state, triangles);
}

// A normal frame's collision in the shipped room: the prepared pass for a player walking and
// jumping about the terrace and the courtyard from the spawn point, as above.
void CollisionShippedRoom(benchmark::State& state) {
    static const std::unique_ptr<Engine::ModelData> room(
        Engine::ConvertObj(STAGEWALK_SOURCE_DIR "/game/data/room2.obj"));
    static Level level;
    if (level.mesh.GetTriangleCount() == 0) {
        level.generated.positions = (*room)[0]->positions;
        level.generated.spots = {glm::vec3(0.1f, 10.0f, -15.0f) - glm::vec3(0.13f, 0.5f, 0.17f)};
        level.mesh.Build(level.generated.positions, StageScale);
    }
    WalkPrepared(state, level);
    state.counters["triangles"] = static_cast<double>(level.mesh.GetTriangleCount());
}

BENCHMARK(CollisionPlain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CollisionPrepared)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CollisionShippedRoom)->Unit(benchmark::kNanosecond);

}  // namespace
