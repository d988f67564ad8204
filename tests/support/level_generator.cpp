#include "support/level_generator.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace TestSupport {

namespace {

constexpr float WorldScale = 8.0f;  // the stage's scale from model to world units
constexpr float RoomSize = 4.0f;    // model units per room side
constexpr float RoomPitch = 5.0f;   // rooms stand this far apart on the grid
constexpr float WallHeight = 2.0f;  // 16 world units: higher than a jump

class Writer {
public:
    Writer(GeneratedLevel& level, size_t limit) : level(level), limit(limit) {}
    bool Full() const { return level.positions.size() >= limit * 9; }
    void Triangle(glm::vec3 a, glm::vec3 b, glm::vec3 c) {
        if (Full()) return;
        for (const glm::vec3& v : {a, b, c}) level.positions.insert(level.positions.end(), {v.x, v.y, v.z});
    }
    // The quad a, b, c, d (in order around it) as two triangles.
    void Quad(glm::vec3 a, glm::vec3 b, glm::vec3 c, glm::vec3 d) {
        Triangle(a, b, c);
        Triangle(a, c, d);
    }
    // A vertical wall over the footprint from `from` to `to` (x, z), cut into `pieces` panels.
    void Wall(glm::vec2 from, glm::vec2 to, float bottom, float top, int pieces) {
        for (int i = 0; i < pieces; ++i) {
            const glm::vec2 p = from + (to - from) * (float(i) / float(pieces));
            const glm::vec2 q = from + (to - from) * (float(i + 1) / float(pieces));
            Quad({p.x, bottom, p.y}, {q.x, bottom, q.y}, {q.x, top, q.y}, {p.x, top, p.y});
        }
    }
    void Spot(glm::vec3 model) { level.spots.push_back(model * WorldScale); }

private:
    GeneratedLevel& level;
    size_t limit;
};

void Room(Writer& out, std::mt19937& random, glm::vec3 origin) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float s = RoomSize;
    const float y = origin.y;
    const float top = y + WallHeight;
    const float cut = 0.6f + 0.6f * unit(random);  // the diagonal corner
    auto at = [&](float x, float z) { return glm::vec2(origin.x + x, origin.z + z); };

    // Floor tiles, row by row.
    const int tiles = 6;
    const float tile = s / tiles;
    for (int row = 0; row < tiles; ++row) {
        for (int column = 0; column < tiles; ++column) {
            const glm::vec2 p = at(column * tile, row * tile);
            out.Quad({p.x, y, p.y}, {p.x + tile, y, p.y}, {p.x + tile, y, p.y + tile}, {p.x, y, p.y + tile});
        }
    }
    // Walls: three straight sides, one side shortened by the diagonal corner.
    out.Wall(at(0, 0), at(s, 0), y, top, 4);
    out.Wall(at(s, 0), at(s, s - cut), y, top, 3);
    out.Wall(at(s, s - cut), at(s - cut, s), y, top, 1);
    out.Wall(at(s - cut, s), at(0, s), y, top, 3);
    out.Wall(at(0, s), at(0, 0), y, top, 4);
    out.Spot({origin.x + s * 0.5f, y + 0.05f, origin.z + s * 0.5f});
    out.Spot({origin.x + 0.07f, y, origin.z + s * 0.5f});
    out.Spot({origin.x + 0.05f, y, origin.z + 0.05f});
    out.Spot({origin.x + s - cut * 0.5f - 0.03f, y, origin.z + s - cut * 0.5f - 0.03f});

    // Pillars: octagonal prisms with a flat cap.
    const int pillars = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < pillars; ++i) {
        const glm::vec2 centre = at(0.8f + unit(random) * (s - 1.6f), 0.8f + unit(random) * (s - 1.6f));
        const float radius = 0.12f + 0.12f * unit(random);
        const float height = top + 0.5f * unit(random);
        glm::vec2 ring[8];
        for (int k = 0; k < 8; ++k) {
            const float angle = float(k) * 0.78539816f;
            ring[k] = centre + radius * glm::vec2(std::cos(angle), std::sin(angle));
        }
        for (int k = 0; k < 8; ++k) out.Wall(ring[k], ring[(k + 1) % 8], y, height, 1);
        for (int k = 1; k < 7; ++k) {
            out.Triangle({ring[0].x, height, ring[0].y}, {ring[k].x, height, ring[k].y},
                         {ring[k + 1].x, height, ring[k + 1].y});
        }
        out.Spot({centre.x + radius + 0.06f, y, centre.y});
        out.Spot({ring[1].x, height + 0.3f, ring[1].y});
    }

    // A ramp up to a platform along the first wall, with the platform's side walls.
    const float rise = 0.3f + 0.4f * unit(random);
    const float foot = 0.4f + unit(random) * (s - 2.4f);
    const glm::vec2 r0 = at(foot, 0.05f), r1 = at(foot + 1.0f, 0.05f), r2 = at(foot + 1.0f, 0.8f),
                    r3 = at(foot, 0.8f);
    const glm::vec2 p1 = at(foot + 1.6f, 0.05f), p2 = at(foot + 1.6f, 0.8f);
    out.Quad({r0.x, y, r0.y}, {r1.x, y + rise, r1.y}, {r2.x, y + rise, r2.y}, {r3.x, y, r3.y});
    out.Quad({r1.x, y + rise, r1.y}, {p1.x, y + rise, p1.y}, {p2.x, y + rise, p2.y}, {r2.x, y + rise, r2.y});
    out.Wall(r2, p2, y, y + rise, 1);
    out.Wall(p1, p2, y, y + rise, 1);
    out.Spot({r0.x - 0.05f, y, (r0.y + r3.y) * 0.5f});
    out.Spot({p2.x - 0.1f, y + rise + 0.4f, p2.y - 0.1f});

    // A ceiling slab over part of the room: it catches falls from above.
    const glm::vec2 c0 = at(s * 0.5f, s * 0.5f);
    const float ceiling = top + 0.2f;
    out.Quad({c0.x, ceiling, c0.y}, {c0.x + 1.0f, ceiling, c0.y}, {c0.x + 1.0f, ceiling, c0.y + 1.0f},
             {c0.x, ceiling, c0.y + 1.0f});
    out.Spot({c0.x + 0.5f, ceiling + 0.8f, c0.y + 0.5f});
}

}  // namespace

GeneratedLevel GenerateLevel(size_t triangles, uint32_t seed) {
    GeneratedLevel level;
    Writer out(level, triangles);
    std::mt19937 random(seed);
    // About 190 triangles a room: rooms fill a square grid, each at its own floor height.
    const int side = std::max(1, static_cast<int>(std::ceil(std::sqrt(double(triangles) / 150.0))));
    for (int index = 0; !out.Full(); ++index) {
        const int row = (index / side) % side;
        const int column = index % side;
        const float height =
            0.25f * static_cast<float>(random() % 5) + 2.0f * static_cast<float>(index / (side * side));
        Room(out, random,
             {column * RoomPitch - side * RoomPitch * 0.5f, height,
              row * RoomPitch - side * RoomPitch * 0.5f});
    }
    return level;
}

}  // namespace TestSupport
