// The room cut into square cells of the floor plan, each holding the triangles that may act on a
// player anywhere in the three by three cells around it, in file order: a walk that stays in that
// square collides with those alone exactly as with the whole room (the others are outside every box
// the collision skips by), at a cost that does not grow with the room. Built once per room by the
// room walks, then read-only; one thread.
#pragma once

#include "collision/collision_triangle.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace StagewalkCheck {

class RoomCells {
public:
    static constexpr float CellSize = 16.0f;  // world units: four default tiles
    // The widest player the cells are made for: a wall acts up to its radius away.
    static constexpr float Reach = 0.5f;

    // `triangles` as prepared from `positions` (model units, nine floats each), in the same order.
    RoomCells(const std::vector<Application::CollisionTriangle>& triangles,
              const std::vector<float>& positions);

    struct Cell {
        int column = 0, row = 0;
        bool operator==(const Cell& other) const { return column == other.column && row == other.row; }
    };
    Cell CellOf(glm::vec2 p) const;  // world x-z
    // The positions of the triangles that may act anywhere in the square around `cell`.
    std::vector<float> Positions(Cell cell) const;
    // Whether every point within `distance` of `p` lies in the square around `cell`.
    bool Holds(Cell cell, glm::vec2 p, float distance) const;

private:
    static uint64_t Key(int column, int row);

    const std::vector<float>& positions;
    std::unordered_map<uint64_t, std::vector<uint32_t>> cells;  // the triangles whose boxes touch it
    std::vector<uint32_t> everywhere;                           // boxes too large (or unbounded) to file
};

}  // namespace StagewalkCheck
