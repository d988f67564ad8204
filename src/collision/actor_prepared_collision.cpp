// Actor::CollidePrepared: CollideTriangle and PushFromWall with the triangle's half of the work done
// in advance. Everything that touches the actor repeats the plain code's float operations in the
// same order; only values that depend on the triangle alone are read instead of recomputed.
#include "collision/actor.h"
#include "collision/collision_triangle.h"

#include <cmath>

namespace Application {

namespace {

// LeftOf of the plain test with the edge already subtracted.
inline bool LeftOf(float edgeU, float edgeV, float fromU, float fromV, float pU, float pV) {
    return edgeU * (pV - fromV) - edgeV * (pU - fromU) > 0.0f;
}

// PointInTriangle in the plane (U, V) of the prepared corners and edges.
template <int U, int V>
inline bool Inside(const CollisionTriangle& t, float pU, float pV) {
    const bool side = LeftOf(t.ab[U], t.ab[V], t.a[U], t.a[V], pU, pV);
    if (LeftOf(t.ac[U], t.ac[V], t.a[U], t.a[V], pU, pV) == side) return false;
    return LeftOf(t.bc[U], t.bc[V], t.b[U], t.b[V], pU, pV) == side;
}

}  // namespace

void Actor::CollidePrepared(const CollisionTriangle& t, float dt) {
    using Kind = CollisionTriangle::Kind;
    if (t.kind == Kind::Generic) {
        CollideTriangle(t.a, t.b, t.c, dt);
        return;
    }
    if (t.kind == Kind::Floor) {
        if (!Inside<0, 2>(t, position.x, position.z)) return;
        const float height = (t.planeTerm - t.normal.x * position.x - t.normal.z * position.z) / t.normal.y;
        if (position.y < height + Movement::LandingAbove &&
            position.y > height - dt * (std::fabs(velocity.y) + Movement::LandingSlack) &&
            velocity.y < 0.0f) {
            position.y = height;
            velocity.y = 0.0f;
            onGround = true;
        }
        return;
    }
    if (t.kind == Kind::Steep) {
        PushFromSteep(t.steep);
        return;
    }

    const glm::vec3 probe = position + glm::vec3(0.0f, Movement::WallProbeHeight, 0.0f);
    if (!Inside<0, 1>(t, probe.x, probe.y) && !Inside<2, 1>(t, probe.z, probe.y)) {
        if (t.hasPost) PushFromPost(t.post);
        return;
    }

    if (t.kind != Kind::DiagonalWall) {
        const bool xWall = t.kind == Kind::XWall;
        float& along = xWall ? position.x : position.z;
        float& speedAlong = xWall ? velocity.x : velocity.z;
        const float gap = std::fabs(along - t.wall);
        if (radius > gap) {
            speedAlong = 0.0f;
            const float push = std::fabs(gap - radius);
            along += t.wall > along ? -push : push;
        }
        PushFromEnds(t.end1.x, t.end1.y, t.end2.x, t.end2.y);
        return;
    }

    const float x = position.x;
    const float z = position.z;
    const float normalIntercept = z + x / t.slope;
    const glm::vec2 foot((normalIntercept - t.intercept) / t.denominator,
                         (t.slope * normalIntercept + t.interceptOverSlope) / t.denominator);
    const bool withinX = foot.x >= t.minEndX && foot.x <= t.maxEndX;
    const bool withinZ = foot.y >= t.minEndZ && foot.y <= t.maxEndZ;
    if (!withinX || !withinZ) {
        PushFromEnds(t.end1.x, t.end1.y, t.end2.x, t.end2.y);
        return;
    }
    const float distance = glm::length(glm::vec2(x, z) - foot);
    // Pushed out along the wall's normal: away from the foot, as from a point.
    if (radius > distance) PushFromPoint(foot.x, foot.y, distance);
}

}  // namespace Application
