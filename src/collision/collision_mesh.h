// The room's triangles made ready for the per-frame collision pass: prepared once, then walked in
// file order with runs of triangles skipped whenever their bounds show they cannot reach the actor.
// Owned by the Stage and built in InitStage; Collide runs on the main thread and allocates nothing.
#pragma once

#include "collision/collision_triangle.h"

#include <cstddef>
#include <vector>

namespace Application {

class Actor;

class CollisionMesh {
public:
    // Prepares every whole triangle of `positions` (nine floats each, trailing floats ignored),
    // each coordinate multiplied by `scale`; replaces what was built before.
    void Build(const std::vector<float>& positions, float scale);
    // Drops every triangle.
    void Clear();
    // One pass over all triangles in order: the same outcome, bit for bit, as calling
    // Actor::CollideTriangle on each of them in order. A null actor is left alone.
    void Collide(Actor* actor, float dt) const;
    // Triangles that reached the exact test in the latest Collide (a measure of the skipping).
    size_t GetTestedCount() const { return tested; }
    size_t GetTriangleCount() const { return triangles.size(); }
    const CollisionTriangle& GetTriangle(size_t index) const { return triangles[index]; }

private:
    // Union of the boxes of a run of triangles, kept apart for floors and walls since they grow
    // differently with the actor's state; `always` marks a run holding a triangle without a box.
    struct RunBounds {
        CollisionBounds floors;
        CollisionBounds walls;
        bool always = false;
    };

    std::vector<CollisionTriangle> triangles;
    std::vector<RunBounds> own;     // per triangle (one of the two boxes is empty)
    std::vector<RunBounds> blocks;  // per BlockSize consecutive triangles
    std::vector<RunBounds> groups;  // per GroupSize consecutive blocks
    mutable size_t tested = 0;
};

}  // namespace Application
