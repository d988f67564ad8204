// Test and benchmark support: generated levels laid out like a real one (rooms on a large grid,
// each with a tiled floor, walls with a diagonal corner cut, pillars, a ramp up to a platform and a
// ceiling slab), written room by room in the order a modelling tool would export them.
// Deterministic for a seed; any thread.
#pragma once

#include <glm/glm.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TestSupport {

struct GeneratedLevel {
    std::vector<float> positions;  // model units, nine floats per triangle, as a mesh holds them
    std::vector<glm::vec3> spots;  // world places (model units times 8) worth walking into: room
                                   // centres, wall faces, corners, pillar sides and ramp feet
};

// A level of exactly `triangles` triangles (the last room is cut short).
GeneratedLevel GenerateLevel(size_t triangles, uint32_t seed);

}  // namespace TestSupport
