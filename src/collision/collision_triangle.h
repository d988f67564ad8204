// One room triangle made ready for the collision pass: its scaled corners and everything about it
// that does not depend on the actor (normal and plane term, wall case and footprint, projected
// edges), plus a box outside which the triangle provably leaves an actor untouched.
// Built once when the stage is initialised; read-only afterwards. Any thread may read it.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>

namespace Application {

// Where an actor must be for a triangle to possibly act on it. Floors: (x, z) inside [x0, x1] x
// [z0, z1] and every plane height the pass can compute lies in [y0, y1]. Walls (steep faces among
// them): the box is grown by the actor's radius in x and z, and the wall probe height must lie in
// [y0, y1]. An inverted box (x0 > x1) holds nothing.
struct CollisionBounds {
    float x0, x1, z0, z1, y0, y1;
};

// An upright edge of a wall triangle: two corners exactly above one another, at (x, z), from `low`
// to `high`. A wall triangle has at most one (a second would put all three corners on one upright
// line), and it stands at an end of the wall's footprint; (outX, outZ) points from the third corner
// to it, out past that end, and (frontX, frontZ) is the way the wall's front faces.
struct WallPost {
    float x = 0, z = 0, low = 0, high = 0;
    float outX = 0, outZ = 0;
    float frontX = 0, frontZ = 0;
};

// A face too steep to walk: its corners from the lowest to the highest (ties kept in a, b, c
// order), so the cut at a height runs from the edge low-high to one of the two others, and the unit
// direction in x-z its front faces, the way an actor exactly on the cut is pushed.
struct SteepFace {
    glm::vec3 low{0.0f}, middle{0.0f}, high{0.0f};
    glm::vec2 front{0.0f};
};

struct CollisionTriangle {
    // The range in which the boxes hold. Each product the point tests form (an edge times a
    // distance) then stays far from overflow, and a product of two non-zero differences of such
    // coordinates cannot round to zero, so a projection whose corners share one coordinate keeps
    // an exact sign in every term. Corners outside it make a Generic triangle; an actor outside it
    // switches the skipping off.
    static constexpr float SmallestCoordinate = 0x1p-40f;  // besides 0; for an actor only x and z
    static constexpr float LargestCorner = 0x1p50f;
    static constexpr float LargestActorCoordinate = 0x1p60f;
    // Whether v is 0 or at least SmallestCoordinate and below `largest` in size (false for NaN).
    static bool InRange(float v, float largest) {
        const float size = v < 0.0f ? -v : v;
        return size < largest && (v == 0.0f || size >= SmallestCoordinate);
    }

    enum class Kind : uint8_t {
        Floor,         // walkable: floors, ceilings and slopes up to Movement::WalkableRise
        XWall,         // vertical, every corner at the same x
        ZWall,         // vertical, footprint ends at the same z
        DiagonalWall,  // vertical, any other footprint
        Steep,         // not vertical, but too steep to walk: a wall at the probe's height
        Generic,       // non-finite normal, corners out of range: resolved by Actor::CollideTriangle
    };

    using Post = WallPost;
    // Finds the upright edge of the wall triangle (a, b, c) of unit `normal`, testing the corner
    // pairs ab, ac, bc in that order.
    static bool FindPost(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c, const glm::vec3& normal,
                         Post& post);
    // The steep face (a, b, c) with its unit normal, as Actor::PushFromSteep reads it.
    static SteepFace MakeSteep(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c,
                               const glm::vec3& normal);

    // Prepares the triangle (a, b, c), already scaled, exactly as Actor::CollideTriangle sees it.
    static CollisionTriangle Prepare(glm::vec3 a, glm::vec3 b, glm::vec3 c);
    // A conservative box for the prepared triangle; see CollisionBounds. Generic ones get no box.
    static CollisionBounds Bound(const CollisionTriangle& triangle);

    glm::vec3 a, b, c;
    glm::vec3 ab, ac, bc;  // b - a, c - a, c - b: the edges of every projected point test
    glm::vec3 normal;      // unit normal, (c - a) x (b - a) divided by its length
    float planeTerm = 0;   // normal . a
    Kind kind = Kind::Generic;
    // Walls: footprint ends (x, z), the wall coordinate of the two axis cases, and for diagonal
    // walls the line through the ends with everything the foot of the perpendicular needs.
    glm::vec2 end1{0.0f}, end2{0.0f};
    float wall = 0;
    float slope = 0, intercept = 0, interceptOverSlope = 0, denominator = 0;
    float minEndX = 0, maxEndX = 0, minEndZ = 0, maxEndZ = 0;
    bool hasPost = false;  // walls: the upright edge, if any
    Post post;
    SteepFace steep;  // Steep faces
};

}  // namespace Application
