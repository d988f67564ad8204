#include "stagewalk_check/room_cells.h"

#include <algorithm>
#include <cmath>

namespace StagewalkCheck {

namespace {

using Application::CollisionBounds;
using Application::CollisionTriangle;

constexpr size_t FloatsPerTriangle = 9;
// A box over more cells than this goes to the list every cell takes (a ground plane, say): the
// cells' size stays linear in the triangles.
constexpr long MostCellsPerTriangle = 64;
constexpr float Spare = 0.01f;  // beyond the rounding the collision's own boxes allow for

}  // namespace

uint64_t RoomCells::Key(int column, int row) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(column)) << 32) | static_cast<uint32_t>(row);
}

RoomCells::RoomCells(const std::vector<CollisionTriangle>& triangles, const std::vector<float>& positions)
    : positions(positions) {
    for (size_t i = 0; i < triangles.size(); ++i) {
        const CollisionTriangle& t = triangles[i];
        // Floors act on a player above them, walls (and steep faces) up to its radius away.
        const CollisionBounds b = CollisionTriangle::Bound(t);
        const float grow = (t.kind == CollisionTriangle::Kind::Floor ? 0.0f : Reach) + Spare;
        const float x0 = b.x0 - grow, x1 = b.x1 + grow, z0 = b.z0 - grow, z1 = b.z1 + grow;
        if (!(x0 <= x1) || !(z0 <= z1)) {
            if (t.kind == CollisionTriangle::Kind::Generic || !(std::isfinite(x0) && std::isfinite(z0)))
                everywhere.push_back(static_cast<uint32_t>(i));
            continue;  // an empty box: the triangle never acts
        }
        const float largest = 1e9f;
        if (!(std::fabs(x0) < largest && std::fabs(x1) < largest && std::fabs(z0) < largest &&
              std::fabs(z1) < largest)) {
            everywhere.push_back(static_cast<uint32_t>(i));
            continue;
        }
        const Cell from = CellOf({x0, z0}), to = CellOf({x1, z1});
        if (long(to.column - from.column + 1) * (to.row - from.row + 1) > MostCellsPerTriangle) {
            everywhere.push_back(static_cast<uint32_t>(i));
            continue;
        }
        for (int column = from.column; column <= to.column; ++column)
            for (int row = from.row; row <= to.row; ++row)
                cells[Key(column, row)].push_back(static_cast<uint32_t>(i));
    }
}

RoomCells::Cell RoomCells::CellOf(glm::vec2 p) const {
    return {static_cast<int>(std::floor(p.x / CellSize)), static_cast<int>(std::floor(p.y / CellSize))};
}

std::vector<float> RoomCells::Positions(Cell cell) const {
    std::vector<uint32_t> picked = everywhere;
    for (int column = cell.column - 1; column <= cell.column + 1; ++column) {
        for (int row = cell.row - 1; row <= cell.row + 1; ++row) {
            const auto found = cells.find(Key(column, row));
            if (found != cells.end()) picked.insert(picked.end(), found->second.begin(), found->second.end());
        }
    }
    std::sort(picked.begin(), picked.end());
    picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
    std::vector<float> local;
    local.reserve(picked.size() * FloatsPerTriangle);
    for (uint32_t i : picked) {
        const auto first = positions.begin() + static_cast<std::ptrdiff_t>(i * FloatsPerTriangle);
        local.insert(local.end(), first, first + FloatsPerTriangle);
    }
    return local;
}

bool RoomCells::Holds(Cell cell, glm::vec2 p, float distance) const {
    const float x0 = static_cast<float>(cell.column - 1) * CellSize,
                x1 = static_cast<float>(cell.column + 2) * CellSize;
    const float z0 = static_cast<float>(cell.row - 1) * CellSize,
                z1 = static_cast<float>(cell.row + 2) * CellSize;
    return p.x - distance > x0 && p.x + distance < x1 && p.y - distance > z0 && p.y + distance < z1;
}

}  // namespace StagewalkCheck
