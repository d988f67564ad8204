// The collision members of Actor: landing on floors and being pushed out of walls, one room
// triangle at a time. Every operation works on the actor as the previous one left it.
#include "collision/actor.h"
#include "collision/collision_triangle.h"

#include <cmath>
#include <initializer_list>

namespace Application {

namespace {

// Which side of the edge from `from` along `edge` the point lies on (strictly left).
bool LeftOf(glm::vec2 edge, glm::vec2 from, glm::vec2 p) {
    return edge.x * (p.y - from.y) - edge.y * (p.x - from.x) > 0.0f;
}

// The corner holding the smallest (or largest) value of one coordinate; on ties the first of
// a, b, c in that order.
const glm::vec3& Extreme(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, int axis, bool largest) {
    const glm::vec3* best = &a;
    for (const glm::vec3* corner : {&b, &c}) {
        if (largest ? (*corner)[axis] > (*best)[axis] : (*corner)[axis] < (*best)[axis]) best = corner;
    }
    return *best;
}

}  // namespace

bool Actor::PointInTriangle(glm::vec2 p, glm::vec2 a, glm::vec2 b, glm::vec2 c) {
    const bool side = LeftOf(b - a, a, p);
    if (LeftOf(c - a, a, p) == side) return false;
    return LeftOf(c - b, b, p) == side;
}

void Actor::CollideTriangle(glm::vec3 a, glm::vec3 b, glm::vec3 c, float dt) {
    glm::vec3 normal = glm::cross(c - a, b - a);
    // A triangle without area gets a NaN normal; every comparison below then fails, so it
    // neither lands nor pushes.
    normal = normal / glm::length(normal);

    if (normal.y == 0.0f) {
        const glm::vec3 probe = position + glm::vec3(0.0f, Movement::WallProbeHeight, 0.0f);
        const bool inXY = PointInTriangle({probe.x, probe.y}, {a.x, a.y}, {b.x, b.y}, {c.x, c.y});
        const bool inZY = PointInTriangle({probe.z, probe.y}, {a.z, a.y}, {b.z, b.y}, {c.z, c.y});
        if (inXY || inZY) {
            PushFromWall(a, b, c);
            return;
        }
        CollisionTriangle::Post post;
        if (CollisionTriangle::FindPost(a, b, c, normal, post)) PushFromPost(post);
        return;
    }
    if (TooSteep(normal)) {
        PushFromSteep(CollisionTriangle::MakeSteep(a, b, c, normal));
        return;
    }

    if (!PointInTriangle({position.x, position.z}, {a.x, a.z}, {b.x, b.z}, {c.x, c.z})) return;
    const float height = (glm::dot(normal, a) - normal.x * position.x - normal.z * position.z) / normal.y;
    // The window below the plane grows with the fall speed, so a fast fall cannot skip a floor
    // within one step. The normal's direction is not consulted: ceilings catch falls too.
    if (position.y < height + Movement::LandingAbove &&
        position.y > height - dt * (std::fabs(velocity.y) + Movement::LandingSlack) && velocity.y < 0.0f) {
        position.y = height;
        velocity.y = 0.0f;
        onGround = true;
    }
}

void Actor::PushFromWall(glm::vec3 a, glm::vec3 b, glm::vec3 c) {
    glm::vec2 end1;  // footprint ends as (x, z)
    glm::vec2 end2;
    bool xWall = false;
    bool zWall = false;
    float wall = 0.0f;

    if (a.x == b.x && b.x == c.x) {
        const glm::vec3& nearest = Extreme(a, b, c, 2, false);
        const glm::vec3& farthest = Extreme(a, b, c, 2, true);
        end1 = {nearest.x, nearest.z};
        end2 = {farthest.x, farthest.z};
        if (end1.y == end2.y) {
            zWall = true;
            wall = end1.y;
        } else {
            xWall = true;
            wall = end1.x;
        }
    } else {
        const glm::vec3& left = Extreme(a, b, c, 0, false);
        const glm::vec3& right = Extreme(a, b, c, 0, true);
        end1 = {left.x, left.z};
        end2 = {right.x, right.z};
        if (end1.y == end2.y) {
            zWall = true;
            wall = end1.y;
        }
    }

    if (xWall || zWall) {
        float& along = xWall ? position.x : position.z;
        float& speedAlong = xWall ? velocity.x : velocity.z;
        const float gap = std::fabs(along - wall);
        if (radius > gap) {
            speedAlong = 0.0f;
            const float push = std::fabs(gap - radius);
            along += wall > along ? -push : push;
        }
        PushFromEnds(end1.x, end1.y, end2.x, end2.y);
        return;
    }

    // General case: the foot of the perpendicular from the actor onto the footprint's line.
    const float x = position.x;
    const float z = position.z;
    const float slope = (end2.y - end1.y) / (end2.x - end1.x);
    const float intercept = end1.y - slope * end1.x;
    const float normalIntercept = z + x / slope;
    const float denominator = slope + 1.0f / slope;
    const glm::vec2 foot((normalIntercept - intercept) / denominator,
                         (slope * normalIntercept + intercept / slope) / denominator);

    const bool withinX = foot.x >= std::fmin(end1.x, end2.x) && foot.x <= std::fmax(end1.x, end2.x);
    const bool withinZ = foot.y >= std::fmin(end1.y, end2.y) && foot.y <= std::fmax(end1.y, end2.y);
    if (!withinX || !withinZ) {
        PushFromEnds(end1.x, end1.y, end2.x, end2.y);
        return;
    }

    const float distance = glm::length(glm::vec2(x, z) - foot);
    // Pushed out along the wall's normal: away from the foot, as from a point.
    if (radius > distance) PushFromPoint(foot.x, foot.y, distance);
}

void Actor::PushFromEnds(float x1, float z1, float x2, float z2) {
    if (!PushFromEnd(x1, z1)) PushFromEnd(x2, z2);
}

bool Actor::PushFromEnd(float x, float z) {
    const float distance = glm::length(glm::vec2(position.x - x, position.z - z));
    if (!(radius > distance)) return false;
    PushFromPoint(x, z, distance);
    return true;
}

void Actor::PushFromPost(const WallPost& post) {
    // Beyond a wall's end nothing else holds the actor: without its post, an actor closer than its
    // radius to a convex corner but beyond both walls' ends would step into the corner. The corner
    // lies in front of both walls; beside a wall (above a ramp's sloping side wall, say) or behind it
    // (on a ramp, past the end of the facade in line with the ramp's side) the post does not stop a
    // walk up the ramp.
    const float probe = position.y + Movement::WallProbeHeight;
    if (!(probe > post.low && probe < post.high)) return;
    const glm::vec2 away(position.x - post.x, position.z - post.z);
    if (away.x * post.outX + away.y * post.outZ < 0.0f || away.x * post.frontX + away.y * post.frontZ < 0.0f)
        return;
    const float distance = glm::length(away);
    if (!(radius > distance)) return;
    const glm::vec2 out(post.outX, post.outZ);
    PushOut(distance > 0.0f ? away / distance : out / glm::length(out), radius - distance);
}

void Actor::PushFromSteep(const SteepFace& face) {
    const glm::vec3 &low = face.low, &middle = face.middle, &high = face.high;
    const float y = position.y + Movement::WallProbeHeight;
    if (!(y >= low.y && y <= high.y)) return;
    // The cut at the probe's height: from the edge low-high to the edge low-middle or middle-high.
    const glm::vec2 lowXZ(low.x, low.z), middleXZ(middle.x, middle.z), highXZ(high.x, high.z);
    const glm::vec2 from = lowXZ + (highXZ - lowXZ) * ((y - low.y) / (high.y - low.y));
    glm::vec2 to = middleXZ;
    if (y < middle.y) {
        to = lowXZ + (middleXZ - lowXZ) * ((y - low.y) / (middle.y - low.y));
    } else if (y > middle.y) {
        to = middleXZ + (highXZ - middleXZ) * ((y - middle.y) / (high.y - middle.y));
    }
    // The nearest point of the cut, and out from it as from a wall.
    const glm::vec2 at(position.x, position.z), along = to - from;
    const float length2 = glm::dot(along, along);
    float share = length2 > 0.0f ? glm::dot(at - from, along) / length2 : 0.0f;
    share = std::fmin(std::fmax(share, 0.0f), 1.0f);
    const glm::vec2 away = at - (from + along * share);
    const float distance = glm::length(away);
    if (!(radius > distance)) return;
    PushOut(distance > 0.0f ? away / distance : face.front, radius - distance);
}

void Actor::PushOut(glm::vec2 direction, float push) {
    position.x += direction.x * push;
    position.z += direction.y * push;
    // What moved the actor into the face is taken away, nothing added: a push never throws.
    const float into = velocity.x * direction.x + velocity.z * direction.y;
    if (into < 0.0f) {
        velocity.x -= direction.x * into;
        velocity.z -= direction.y * into;
    }
}

void Actor::PushFromPoint(float x, float z, float distance) {
    const float angle = std::atan2(position.z - z, position.x - x);
    const float push = std::fabs(distance - radius);
    const float dx = std::cos(angle) * push;
    const float dz = std::sin(angle) * push;
    position.x += dx;
    position.z += dz;
    velocity.x += dx;
    velocity.z += dz;
}

}  // namespace Application
