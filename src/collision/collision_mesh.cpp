// The skipping collision pass. A run of triangles is skipped as a whole when the actor, as it is
// before the run, lies outside the union of their boxes: no triangle of the run can then change
// it, so it is still the same actor when the next run starts, and the order of the plain pass is
// kept. Two levels of runs (blocks of triangles, groups of blocks) make the walk over a large room
// cost a fraction of a nanosecond per triangle.
#include "collision/collision_mesh.h"

#include "collision/actor.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Application {

namespace {

constexpr size_t BlockSize = 16;
constexpr size_t GroupSize = 16;
constexpr size_t FloatsPerTriangle = 9;

constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr CollisionBounds Nothing{Inf, -Inf, Inf, -Inf, Inf, -Inf};

void Grow(CollisionBounds& into, const CollisionBounds& b) {
    into.x0 = std::min(into.x0, b.x0);
    into.x1 = std::max(into.x1, b.x1);
    into.z0 = std::min(into.z0, b.z0);
    into.z1 = std::max(into.z1, b.z1);
    into.y0 = std::min(into.y0, b.y0);
    into.y1 = std::max(into.y1, b.y1);
}

// What the bounds tests need of the actor; taken again whenever a triangle may have changed it.
struct Reach {
    float x, y, z;
    float probe;   // y + WallProbeHeight, exactly as the wall test forms it
    float window;  // dt * (|vy| + LandingSlack), exactly as the landing forms it
    float radius;  // the radius with a little to spare for the rounding of distances
    bool falling;  // vy < 0: only then can a floor act
    bool inRange;  // the boxes hold for this position (see CollisionTriangle::InRange)

    Reach(const Actor& actor, float dt)
        : x(actor.position.x),
          y(actor.position.y),
          z(actor.position.z),
          probe(actor.position.y + Movement::WallProbeHeight),
          window(dt * (std::fabs(actor.velocity.y) + Movement::LandingSlack)),
          radius(actor.radius + std::fabs(actor.radius) * 1.0e-5f + 1.0e-5f),
          falling(actor.velocity.y < 0.0f),
          inRange(CollisionTriangle::InRange(x, CollisionTriangle::LargestActorCoordinate) &&
                  CollisionTriangle::InRange(z, CollisionTriangle::LargestActorCoordinate) &&
                  std::fabs(y) < CollisionTriangle::LargestActorCoordinate) {}

    // Since rounding is monotonic, y >= fl(y1 + LandingAbove) rules out y < fl(h + LandingAbove) for every h
    // <= y1, and y <= fl(y0 - window) rules out y > fl(h - window) for every h >= y0.
    bool MayLand(const CollisionBounds& b) const {
        return falling && x >= b.x0 && x <= b.x1 && z >= b.z0 && z <= b.z1 &&
               y < b.y1 + Movement::LandingAbove && y > b.y0 - window;
    }
    bool MayPush(const CollisionBounds& b) const {
        return probe >= b.y0 && probe <= b.y1 && x >= b.x0 - radius && x <= b.x1 + radius &&
               z >= b.z0 - radius && z <= b.z1 + radius;
    }
};

}  // namespace

void CollisionMesh::Clear() {
    triangles.clear();
    own.clear();
    blocks.clear();
    groups.clear();
}

void CollisionMesh::Build(const std::vector<float>& positions, float scale) {
    Clear();
    const size_t count = positions.size() / FloatsPerTriangle;
    triangles.reserve(count);
    own.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const float* p = positions.data() + i * FloatsPerTriangle;
        // The same products the plain pass forms: each coordinate times the scale.
        const glm::vec3 a = glm::vec3(p[0], p[1], p[2]) * scale;
        const glm::vec3 b = glm::vec3(p[3], p[4], p[5]) * scale;
        const glm::vec3 c = glm::vec3(p[6], p[7], p[8]) * scale;
        triangles.push_back(CollisionTriangle::Prepare(a, b, c));
        const CollisionTriangle& t = triangles.back();
        RunBounds bounds{Nothing, Nothing, t.kind == CollisionTriangle::Kind::Generic};
        (t.kind == CollisionTriangle::Kind::Floor ? bounds.floors : bounds.walls) =
            CollisionTriangle::Bound(t);
        own.push_back(bounds);
    }
    auto unite = [](const std::vector<RunBounds>& parts, size_t size, std::vector<RunBounds>& runs) {
        runs.assign((parts.size() + size - 1) / size, RunBounds{Nothing, Nothing, false});
        for (size_t i = 0; i < parts.size(); ++i) {
            RunBounds& run = runs[i / size];
            Grow(run.floors, parts[i].floors);
            Grow(run.walls, parts[i].walls);
            run.always = run.always || parts[i].always;
        }
    };
    unite(own, BlockSize, blocks);
    unite(blocks, GroupSize, groups);
}

void CollisionMesh::Collide(Actor* actor, float dt) const {
    tested = 0;
    if (actor == nullptr) return;
    auto mayAct = [](const Reach& reach, const RunBounds& run) {
        return run.always || !reach.inRange || reach.MayLand(run.floors) || reach.MayPush(run.walls);
    };
    const size_t count = triangles.size();
    // The actor changes only inside CollidePrepared, so its reach is taken again only after one.
    Reach reach(*actor, dt);
    for (size_t group = 0; group < groups.size(); ++group) {
        if (!mayAct(reach, groups[group])) continue;
        const size_t lastBlock = std::min(blocks.size(), (group + 1) * GroupSize);
        for (size_t block = group * GroupSize; block < lastBlock; ++block) {
            if (!mayAct(reach, blocks[block])) continue;
            const size_t last = std::min(count, (block + 1) * BlockSize);
            for (size_t i = block * BlockSize; i < last; ++i) {
                if (!mayAct(reach, own[i])) continue;
                ++tested;
                actor->CollidePrepared(triangles[i], dt);
                reach = Reach(*actor, dt);
            }
        }
    }
}

}  // namespace Application
