// Builds the level's geometry out of floors, slopes, vertical walls and boxes into one OBJ object,
// with every face wound to face the side the player sees it from. Walls are emitted so that each
// triangle has two corners stacked exactly vertically: the game treats a triangle as a wall only when
// its normal's y is exactly 0, which such triangles guarantee in float arithmetic. Generator only.
#pragma once

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <string>
#include <vector>

#include "obj_writer.h"

namespace AssetGenerator {

class RoomBuilder {
public:
    enum BoxFace : unsigned { North = 1, South = 2, East = 4, West = 8, Top = 16, AllSides = 15, All = 31 };

    explicit RoomBuilder(const std::string& name);  // starts the one object the level consists of

    // Horizontal floor at height y over the grid cells between consecutive lines; cells for which
    // `skip` returns true (given the cell's centre) are left out.
    template <typename Skip>
    void FloorGrid(const std::vector<double>& xs, const std::vector<double>& zs, double y, Skip skip) {
        for (std::size_t i = 0; i + 1 < xs.size(); ++i)
            for (std::size_t j = 0; j + 1 < zs.size(); ++j)
                if (!skip(glm::dvec2((xs[i] + xs[i + 1]) / 2, (zs[j] + zs[j + 1]) / 2)))
                    Floor({{xs[i], zs[j]}, {xs[i + 1], zs[j]}, {xs[i + 1], zs[j + 1]}, {xs[i], zs[j + 1]}},
                          y);
    }
    void Floor(const std::vector<glm::dvec2>& xz, double y);  // convex polygon, facing up
    void Surface(const std::vector<glm::dvec3>& corners);     // convex planar polygon facing up (a slope)
    // Vertical wall from `from` to `to` (x-z), bottom at `bottom`, top rising linearly from
    // `topFrom` to `topTo`; its front faces the side `facing` points to. Split into pieces no longer
    // than `maxPiece` so that per-vertex fog and light stay even.
    void Wall(glm::dvec2 from, glm::dvec2 to, double bottom, double topFrom, double topTo, glm::dvec2 facing,
              double maxPiece = 1.5);
    // Axis-aligned box seen from outside; `faces` picks which of its sides and top are emitted.
    void Box(double x0, double x1, double z0, double z1, double y0, double y1, unsigned faces = All);

    ObjWriter& Obj() { return obj; }  // the model built so far

private:
    ObjWriter obj;
};

}  // namespace AssetGenerator
