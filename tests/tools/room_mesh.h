// Test helpers for level models as the game sees them: an OBJ's first object read through
// tinyobjloader with the loader's y snap, scaled to world units by 8 as the stage does, with the
// game's own normal, its strict point-in-triangle test and the floor heights its landing rule
// computes. Header-only; any thread.
#pragma once

#include "tools/generated_assets.h"

#include <glm/glm.hpp>

#include <string>
#include <vector>

namespace AssetTests {

constexpr float kRoomScale = 8.0f;

struct WorldTriangle {
    glm::vec3 a, b, c;
    glm::vec3 n;  // the game's normal: normalize((c - a) x (b - a))
    bool IsWall() const { return n.y == 0.0f; }
    glm::vec3 Front() const { return glm::cross(b - a, c - a); }  // towards the counter-clockwise side
};

inline std::vector<WorldTriangle> LoadRoom(const std::string& path) {
    std::vector<WorldTriangle> out;
    for (const Triangle& t : LoadObj(path).triangles) {
        WorldTriangle w{t.p[0] * kRoomScale, t.p[1] * kRoomScale, t.p[2] * kRoomScale, {}};
        w.n = glm::normalize(glm::cross(w.c - w.a, w.b - w.a));
        out.push_back(w);
    }
    return out;
}

// The game's strict point-in-triangle test on the x-z plane.
inline bool InsideXZ(glm::vec2 p, glm::vec3 a3, glm::vec3 b3, glm::vec3 c3) {
    const glm::vec2 a(a3.x, a3.z), b(b3.x, b3.z), c(c3.x, c3.z);
    const bool s = ((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) > 0;
    if ((((c.x - a.x) * (p.y - a.y) - (c.y - a.y) * (p.x - a.x)) > 0) == s) return false;
    return (((c.x - b.x) * (p.y - b.y) - (c.y - b.y) * (p.x - b.x)) > 0) == s;
}

// The highest floor or slope plane under (x, z) as the landing rule computes it; `none` without one.
inline float HighestFloor(const std::vector<WorldTriangle>& room, glm::vec2 p, float none = -1e9f) {
    float best = none;
    for (const WorldTriangle& t : room)
        if (!t.IsWall() && InsideXZ(p, t.a, t.b, t.c))
            best = std::max(best, (glm::dot(t.n, t.a) - t.n.x * p.x - t.n.z * p.y) / t.n.y);
    return best;
}

}  // namespace AssetTests
