// The per-frame collision pass over generated levels of 1k, 10k and 100k triangles, the plain pass
// (every triangle, scaled and resolved in turn) against the prepared one that skips runs of far
// triangles. The same actor walks the same path in both: it steers in a slowly turning direction
// through a room, so it lands on floors and is pushed by walls as in play.
#include "application/stage.h"
#include "collision/actor.h"
#include "collision/collision_mesh.h"
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
        actor.acceleration = glm::vec3(0.02f, 0.03f, 0.02f);
        actor.targetVelocity.y = -0.5f;
        actor.position = start + glm::vec3(0.13f, 0.5f, 0.17f);
    }
    Application::Actor& Step() {
        // The stick turns a little every frame and reverses now and then: walls, corners, ramps.
        const float angle = 0.004f * static_cast<float>(frame++);
        actor.targetVelocity.x = 0.2f * std::cos(angle);
        actor.targetVelocity.z = 0.2f * std::sin(angle * 1.7f);
        if (frame % 90 == 0 && actor.onGround) actor.velocity.y = 0.875f;
        if (actor.position.y < -25.0f) actor.position = start;
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

void CollisionPrepared(benchmark::State& state) {
    const size_t triangles = static_cast<size_t>(state.range(0));
    const Level& level = LevelOf(triangles);
    Walker walker(level);
    size_t tested = 0;
    for (auto _ : state) {
        Application::Actor& actor = walker.Step();
        level.mesh.Collide(&actor, 1.0f);
        tested += level.mesh.GetTestedCount();
        benchmark::DoNotOptimize(actor.position);
    }
    Finish(state, triangles);
    state.counters["tested"] =
        benchmark::Counter(static_cast<double>(tested), benchmark::Counter::kAvgIterations);
}

BENCHMARK(CollisionPlain)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CollisionPrepared)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
