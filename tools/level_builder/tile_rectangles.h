// Merges tiles into rectangles the way the level's flat floors are merged: greedily, as wide as the
// row allows, then as deep as whole rows of that width allow, tiles of one height together. The
// floors and the finish rectangles both use it, so a finish covers the floor it was painted on
// rectangle for rectangle. Header-only; any thread.
#pragma once

#include "level_map.h"

#include <cstddef>
#include <vector>

namespace AssetGenerator {

// Calls visit(column, row, width, depth, height) for each rectangle of tiles that `joins` (a
// predicate on a LevelCell) takes, in row-major order of their north-west tiles.
template <typename Joins, typename Visit>
void ForEachTileRectangle(const LevelMap& map, Joins joins, Visit visit) {
    const int width = map.Width(), height = map.Height();
    std::vector<char> used(static_cast<size_t>(width) * height, 0);
    auto free = [&](int c, int r, int h) {
        const LevelCell& cell = map.At(c, r);
        return !used[static_cast<size_t>(r) * width + c] && joins(cell) && cell.height == h;
    };
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const int h = map.At(column, row).height;
            if (!free(column, row, h)) continue;
            int w = 1, d = 1;
            while (column + w < width && free(column + w, row, h)) ++w;
            for (bool whole = true; whole && row + d < height; d += whole ? 1 : 0) {
                for (int c = column; c < column + w && whole; ++c) whole = free(c, row + d, h);
            }
            for (int r = row; r < row + d; ++r)
                for (int c = column; c < column + w; ++c) used[static_cast<size_t>(r) * width + c] = 1;
            visit(column, row, w, d, h);
        }
    }
}

}  // namespace AssetGenerator
