#include "stagewalk_check/floor_grid.h"

#include <algorithm>
#include <cmath>

namespace StagewalkCheck {

namespace {

using Application::CollisionTriangle;

// A floor whose box spans more cells than this is kept apart: one huge floor under a fine mesh would
// otherwise be listed in every cell.
constexpr long kMostCellsPerFloor = 16;

struct Box {
    float x0, z0, x1, z1;
};

Box BoxOf(const CollisionTriangle& t) {
    Box box{std::min({t.a.x, t.b.x, t.c.x}), std::min({t.a.z, t.b.z, t.c.z}), std::max({t.a.x, t.b.x, t.c.x}),
            std::max({t.a.z, t.b.z, t.c.z})};
    // Widened by a little more than rounding, so that a point the triangle test takes as inside never
    // falls in a cell the box missed.
    const float pad = 1e-4f * std::max(box.x1 - box.x0, box.z1 - box.z0) + 1e-6f;
    return {box.x0 - pad, box.z0 - pad, box.x1 + pad, box.z1 + pad};
}

bool Finite(const Box& b) {
    return std::isfinite(b.x0) && std::isfinite(b.z0) && std::isfinite(b.x1) && std::isfinite(b.z1);
}

}  // namespace

FloorGrid::FloorGrid(const std::vector<const CollisionTriangle*>& floors) {
    std::vector<Box> boxes;
    std::vector<const CollisionTriangle*> gridded;
    float maxX = 0, maxZ = 0;
    for (const CollisionTriangle* floor : floors) {
        const Box box = BoxOf(*floor);
        if (!Finite(box)) {
            large.push_back(floor);
            continue;
        }
        if (gridded.empty()) minX = box.x0, minZ = box.z0, maxX = box.x1, maxZ = box.z1;
        minX = std::min(minX, box.x0), minZ = std::min(minZ, box.z0);
        maxX = std::max(maxX, box.x1), maxZ = std::max(maxZ, box.z1);
        boxes.push_back(box);
        gridded.push_back(floor);
    }
    if (gridded.empty()) return;
    // About one cell per floor, square cells over the extent.
    const double width = std::max(double(maxX) - minX, 1e-6), depth = std::max(double(maxZ) - minZ, 1e-6);
    cellSize = static_cast<float>(std::sqrt(width * depth / static_cast<double>(gridded.size())));
    cellSize = std::max(cellSize, static_cast<float>(std::max(width, depth) / 4096.0));
    columns = static_cast<int>(std::ceil(width / cellSize)) + 1;
    rows = static_cast<int>(std::ceil(depth / cellSize)) + 1;

    // Count each cell's floors, then place them (a counting sort: one array for all cells).
    starts.assign(static_cast<std::size_t>(columns) * rows + 1, 0);
    std::vector<char> isLarge(gridded.size(), 0);
    auto forCells = [&](std::size_t i, auto&& use) {
        for (int r = Row(boxes[i].z0); r <= Row(boxes[i].z1); ++r) {
            for (int c = Column(boxes[i].x0); c <= Column(boxes[i].x1); ++c) {
                use(static_cast<std::size_t>(r) * columns + c);
            }
        }
    };
    for (std::size_t i = 0; i < gridded.size(); ++i) {
        const long cells =
            long(Column(boxes[i].x1) - Column(boxes[i].x0) + 1) * (Row(boxes[i].z1) - Row(boxes[i].z0) + 1);
        if (cells > kMostCellsPerFloor) {
            isLarge[i] = 1;
            large.push_back(gridded[i]);
            continue;
        }
        forCells(i, [&](std::size_t cell) { ++starts[cell + 1]; });
    }
    for (std::size_t cell = 1; cell < starts.size(); ++cell) starts[cell] += starts[cell - 1];
    entries.resize(starts.back());
    std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
    for (std::size_t i = 0; i < gridded.size(); ++i) {
        if (!isLarge[i]) forCells(i, [&](std::size_t cell) { entries[next[cell]++] = gridded[i]; });
    }
}

int FloorGrid::Column(float x) const {
    return std::clamp(static_cast<int>(std::floor((x - minX) / cellSize)), 0, columns - 1);
}

int FloorGrid::Row(float z) const {
    return std::clamp(static_cast<int>(std::floor((z - minZ) / cellSize)), 0, rows - 1);
}

std::size_t FloorGrid::CellOf(float x, float z) const {
    if (columns == 0 || !(x >= minX) || !(z >= minZ)) return kNone;
    const float column = std::floor((x - minX) / cellSize), row = std::floor((z - minZ) / cellSize);
    if (!(column < static_cast<float>(columns)) || !(row < static_cast<float>(rows))) return kNone;
    return static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(column);
}

}  // namespace StagewalkCheck
