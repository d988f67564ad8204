// A body that moves through the stage: a point with a radius and an orientation whose velocity
// eases towards a target velocity, plus the operations that resolve it against room triangles.
// Actors are owned by the scene; the stage borrows them for collision. Main thread only.
// There is no virtual destructor: actors are never deleted through this base.
#pragma once

#include "collision/movement_tunables.h"

#include <glm/glm.hpp>

namespace Application {

struct CollisionTriangle;
struct SteepFace;
struct WallPost;

class Actor {
public:
    // Whether a face of this unit normal, not upright (y != 0), is too steep to walk: a wall.
    static bool TooSteep(const glm::vec3& normal) {
        return normal.y > -Movement::WalkableNormalY && normal.y < Movement::WalkableNormalY;
    }

    // Frame update, called non-virtually: UpdateControl, then Move, then onGround = false.
    void Update(float dt);
    // speed = |velocity|; eases each axis towards the target (y only when target y != 0); moves.
    void Move(float dt);
    // Steering hook, run first by Update; the plain actor does not steer.
    virtual void UpdateControl(float dt);

    // Resolves one triangle: lands on a walkable floor within the window; pushes out of a vertical
    // one whose x-y or z-y projection holds the wall probe, and otherwise, beyond the wall's end,
    // away from its upright edge (its post) when the probe's height lies strictly between the post's
    // ends, so that walls meeting at a convex corner hold an actor beyond both of their ends; pushes
    // out of a face too steep to walk as from a wall (PushFromSteep).
    void CollideTriangle(glm::vec3 a, glm::vec3 b, glm::vec3 c, float dt);
    // Pushes out of a vertical triangle along its footprint in x-z (x-wall, z-wall or general).
    void PushFromWall(glm::vec3 a, glm::vec3 b, glm::vec3 c);
    // Pushes away from the first of the two end points closer than the radius; at most one.
    void PushFromEnds(float x1, float z1, float x2, float z2);
    // Pushes away from the point if closer than the radius; whether it did.
    bool PushFromEnd(float x, float z);
    // Pushes to `radius` away from (x, z) given its `distance`; the push adds to the velocity too.
    void PushFromPoint(float x, float z, float distance);
    // A face too steep to walk, cut at the wall probe's height: pushes out horizontally to `radius`
    // from the nearest point of the cut, on the side the actor is on (the face's front when exactly
    // on it), and takes away the velocity into it. Never lands.
    void PushFromSteep(const SteepFace& face);
    // An upright edge beyond its wall's end: pushes out to `radius` from it, when closer and the
    // probe lies strictly between its ends, taking away the velocity into it.
    void PushFromPost(const WallPost& post);
    // Moves the actor `push` along the unit x-z `direction` and takes away its velocity against it.
    void PushOut(glm::vec2 direction, float push);

    // CollideTriangle for a triangle prepared in advance: the same float operations on the actor's
    // state in the same order, so the outcome is bit for bit that of CollideTriangle(a, b, c, dt).
    void CollidePrepared(const CollisionTriangle& triangle, float dt);

    // Strict point-in-triangle test in one coordinate plane; a triangle of no area holds no point.
    static bool PointInTriangle(glm::vec2 p, glm::vec2 a, glm::vec2 b, glm::vec2 c);

    glm::vec3 position{0.0f, 0.0f, 0.0f};        // the feet
    glm::vec3 rotation{0.0f, 0.0f, 0.0f};        // x pitch, y yaw, z roll (never changed)
    glm::vec3 velocity{0.0f, 0.0f, 0.0f};        // world units per time unit
    glm::vec3 targetVelocity{0.0f, 0.0f, 0.0f};  // what the velocity eases towards
    glm::vec3 acceleration{0.0f, 0.0f, 0.0f};    // largest velocity change per time unit, per axis
    float speed = 0.0f;                          // |velocity| at the start of the latest Move
    float radius = 0.0f;                         // collision radius in x-z
    bool onGround = false;                       // landed during the latest collision pass
};

}  // namespace Application
