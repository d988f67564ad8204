// Preparing a room triangle: the actor-independent half of Actor::CollideTriangle and
// Actor::PushFromWall, computed with the very same float operations so that the prepared pass
// reaches bit-identical results (a steep face and a post are made by the same code for both).
#include "collision/collision_triangle.h"

#include "collision/actor.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace Application {

namespace {

// The corner holding the smallest (or largest) value of one coordinate; on ties the first of
// a, b, c in that order. The same choice Actor::PushFromWall makes.
const glm::vec3& Extreme(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, int axis, bool largest) {
    const glm::vec3* best = &a;
    for (const glm::vec3* corner : {&b, &c}) {
        if (largest ? (*corner)[axis] > (*best)[axis] : (*corner)[axis] < (*best)[axis]) best = corner;
    }
    return *best;
}

bool Usable(const glm::vec3& v) {
    const float largest = CollisionTriangle::LargestCorner;
    return CollisionTriangle::InRange(v.x, largest) && CollisionTriangle::InRange(v.y, largest) &&
           CollisionTriangle::InRange(v.z, largest);
}

void PrepareWall(CollisionTriangle& t) {
    const glm::vec3& a = t.a;
    const glm::vec3& b = t.b;
    const glm::vec3& c = t.c;
    t.hasPost = CollisionTriangle::FindPost(a, b, c, t.normal, t.post);
    if (a.x == b.x && b.x == c.x) {
        const glm::vec3& nearest = Extreme(a, b, c, 2, false);
        const glm::vec3& farthest = Extreme(a, b, c, 2, true);
        t.end1 = {nearest.x, nearest.z};
        t.end2 = {farthest.x, farthest.z};
        if (t.end1.y == t.end2.y) {
            t.kind = CollisionTriangle::Kind::ZWall;
            t.wall = t.end1.y;
        } else {
            t.kind = CollisionTriangle::Kind::XWall;
            t.wall = t.end1.x;
        }
        return;
    }
    const glm::vec3& left = Extreme(a, b, c, 0, false);
    const glm::vec3& right = Extreme(a, b, c, 0, true);
    t.end1 = {left.x, left.z};
    t.end2 = {right.x, right.z};
    if (t.end1.y == t.end2.y) {
        t.kind = CollisionTriangle::Kind::ZWall;
        t.wall = t.end1.y;
        return;
    }
    t.kind = CollisionTriangle::Kind::DiagonalWall;
    t.slope = (t.end2.y - t.end1.y) / (t.end2.x - t.end1.x);
    t.intercept = t.end1.y - t.slope * t.end1.x;
    t.interceptOverSlope = t.intercept / t.slope;
    t.denominator = t.slope + 1.0f / t.slope;
    t.minEndX = std::fmin(t.end1.x, t.end2.x);
    t.maxEndX = std::fmax(t.end1.x, t.end2.x);
    t.minEndZ = std::fmin(t.end1.y, t.end2.y);
    t.maxEndZ = std::fmax(t.end1.y, t.end2.y);
}

}  // namespace

bool CollisionTriangle::FindPost(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                                 const glm::vec3& normal, Post& post) {
    const glm::vec3* const corners[3][3] = {{&a, &b, &c}, {&a, &c, &b}, {&b, &c, &a}};
    for (const auto& corner : corners) {
        const glm::vec3 &p = *corner[0], &q = *corner[1], &third = *corner[2];
        if (p.x != q.x || p.z != q.z) continue;
        // The game's normal points to the back.
        post = Post{p.x,           p.z,           std::fmin(p.y, q.y), std::fmax(p.y, q.y),
                    p.x - third.x, p.z - third.z, -normal.x,           -normal.z};
        return true;
    }
    return false;
}

SteepFace CollisionTriangle::MakeSteep(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                                       const glm::vec3& normal) {
    // A stable sort of three corners by height.
    const glm::vec3* order[3] = {&a, &b, &c};
    if (order[1]->y < order[0]->y) std::swap(order[0], order[1]);
    if (order[2]->y < order[1]->y) std::swap(order[1], order[2]);
    if (order[1]->y < order[0]->y) std::swap(order[0], order[1]);
    // The game's normal points to the back: the front, wound counter-clockwise, faces the other way.
    const glm::vec2 across(-normal.x, -normal.z);
    return SteepFace{*order[0], *order[1], *order[2], across / glm::length(across)};
}

CollisionTriangle CollisionTriangle::Prepare(glm::vec3 a, glm::vec3 b, glm::vec3 c) {
    CollisionTriangle t;
    t.a = a;
    t.b = b;
    t.c = c;
    t.ab = b - a;
    t.ac = c - a;
    t.bc = c - b;
    glm::vec3 normal = glm::cross(c - a, b - a);
    normal = normal / glm::length(normal);
    t.normal = normal;
    t.planeTerm = glm::dot(normal, a);
    // A triangle without area has a NaN normal; with it (and with corners out of range: huge ones,
    // or ones so close to 0 that products of their differences underflow) the plain code decides,
    // since its outcome hangs on how NaN, infinity and underflow travel through every step.
    if (!Usable(a) || !Usable(b) || !Usable(c) || !std::isfinite(normal.x) || !std::isfinite(normal.y) ||
        !std::isfinite(normal.z) || !std::isfinite(t.planeTerm)) {
        t.kind = Kind::Generic;
        return t;
    }
    if (normal.y != 0.0f) {
        t.kind = Actor::TooSteep(normal) ? Kind::Steep : Kind::Floor;
        if (t.kind == Kind::Steep) t.steep = MakeSteep(a, b, c, normal);
        return t;
    }
    PrepareWall(t);
    return t;
}

}  // namespace Application
