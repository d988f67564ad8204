// The room's floors bucketed by where they lie seen from above, so that the floors over one point
// are found without a look at every face: a uniform grid over the floors' x-z extent, about one
// cell per floor, each floor listed in every cell its (slightly widened) bounding box touches. A
// floor that would fill many cells, or has no finite box, goes to a list every query returns, which
// keeps the grid's size linear in the floors. Built once per mesh by the room check, then read-only;
// one thread.
#pragma once

#include "collision/collision_triangle.h"

#include <cstddef>
#include <vector>

namespace StagewalkCheck {

class FloorGrid {
public:
    // Borrows the triangles `floors` points to, which must outlive the grid.
    explicit FloorGrid(const std::vector<const Application::CollisionTriangle*>& floors);

    // Every floor whose box may hold the point (x, z) seen from above, and perhaps a few more.
    template <typename Visit>
    void ForEachNear(float x, float z, Visit visit) const {
        for (const Application::CollisionTriangle* floor : large) visit(*floor);
        const std::size_t cell = CellOf(x, z);
        if (cell == kNone) return;
        for (std::size_t i = starts[cell]; i < starts[cell + 1]; ++i) visit(*entries[i]);
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t CellOf(float x, float z) const;  // kNone outside the grid
    int Column(float x) const;
    int Row(float z) const;

    float minX = 0, minZ = 0, cellSize = 1;
    int columns = 0, rows = 0;
    std::vector<std::size_t> starts;  // cell i's floors are entries[starts[i]] to entries[starts[i + 1] - 1]
    std::vector<const Application::CollisionTriangle*> entries;
    std::vector<const Application::CollisionTriangle*> large;
};

}  // namespace StagewalkCheck
