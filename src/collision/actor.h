// A body that moves through the stage: a point with a radius and an orientation whose velocity
// eases towards a target velocity, plus the operations that resolve it against room triangles.
// Actors are owned by the scene; the stage borrows them for collision. Main thread only.
// There is no virtual destructor: actors are never deleted through this base.
#pragma once

#include <glm/glm.hpp>

namespace Application {

struct CollisionTriangle;

class Actor {
public:
    // The collision's tunables (world units, 60-Hz time units), read by the plain pass, the prepared
    // pass, the bounds that let it skip triangles and the tools that walk a room. A falling actor
    // lands on a floor whose plane lies less than LandingAbove below its feet or less than
    // dt * (|vy| + LandingSlack) above them, so a fall cannot skip a floor within one step.
    static constexpr float LandingAbove = 0.2f;
    static constexpr float LandingSlack = 0.5f;
    // Walls test the point this far above the feet: a floor's edge is no wall, a lower kerb is
    // walked onto.
    static constexpr float WallProbeHeight = 0.25f;

    // Frame update, called non-virtually: UpdateControl, then Move, then onGround = false.
    void Update(float dt);
    // speed = |velocity|; eases each axis towards the target (y only when target y != 0); moves.
    void Move(float dt);
    // Steering hook, run first by Update; the plain actor does not steer.
    virtual void UpdateControl(float dt);

    // Resolves one triangle: lands on a floor within the window; pushes out of a vertical one whose
    // x-y or z-y projection holds the wall probe, and otherwise away from its upright edge (its post)
    // when the probe's height lies strictly between the post's ends, so that walls meeting at a
    // convex corner hold an actor beyond both of their ends.
    void CollideTriangle(glm::vec3 a, glm::vec3 b, glm::vec3 c, float dt);
    // Pushes out of a vertical triangle along its footprint in x-z (x-wall, z-wall or general).
    void PushFromWall(glm::vec3 a, glm::vec3 b, glm::vec3 c);
    // Pushes away from the first of the two end points closer than the radius; at most one.
    void PushFromEnds(float x1, float z1, float x2, float z2);
    // Pushes away from the point if closer than the radius; whether it did.
    bool PushFromEnd(float x, float z);
    // Pushes to `radius` away from (x, z) given its `distance`; the push adds to the velocity too.
    void PushFromPoint(float x, float z, float distance);

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
