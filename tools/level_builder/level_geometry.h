// Turns a LevelMap into the level model: floors facing up (flat tiles of one height merged into
// rectangles), ramps, diagonal half tiles, walls exactly where neighbouring floors differ and outer
// facades down to the facade bottom where a floor meets the void. Every wall triangle has two corners
// stacked exactly vertically, so its normal's y is exactly 0 in the game's float arithmetic, and
// every coordinate is a multiple of 1/64 (heights of 1/8), which the OBJ text and the loader's y snap
// keep exact. Floors are written before walls, each in a space-filling order so that neighbours in
// the file are neighbours in the level, and corners are ordered so that the collision's strict
// point test leaves no gap along the seams between triangles. Used once per build; one thread.
#pragma once

#include "level_map.h"
#include "obj_writer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace AssetGenerator {

class LevelGeometry {
public:
    explicit LevelGeometry(const LevelMap& map) : map(map) {}
    // The whole level as the one object `name`. Throws LevelError where two tiles meet in a seam no
    // wall can close (one floor higher at one end of the shared edge, lower at the other).
    ObjWriter Build(const std::string& name);

private:
    // The floor along one side of a tile, at its two ends: north and south sides from west to east,
    // east and west sides from north to south. Not solid where the side borders the void.
    struct Profile {
        bool solid = false;
        double y0 = 0, y1 = 0;
    };
    struct Triangle {
        Corner a, b, c;
        glm::dvec3 normal;
        bool wall;
        uint64_t key;  // place of its piece (rectangle, tile or wall) along the space-filling order
    };
    // A wall being extended along one grid line while flat pieces of equal height follow each other.
    struct Run {
        bool open = false;
        glm::dvec2 from, to, facing;
        double bottom = 0, top = 0;
    };

    Profile Side(int column, int row, Direction side) const;
    std::optional<double> OpenHalfY(int column, int row) const;  // a diagonal's open half; none: void
    glm::dvec2 CornerXZ(int column, int row, int corner) const;  // corners 0..3: NW, NE, SE, SW

    void AddFlatFloors();
    void AddShapedFloor(int column, int row);
    void AddGridWalls();
    void AddSeam(const Profile& a, const Profile& b, glm::dvec2 p0, glm::dvec2 p1, glm::dvec2 towardsB,
                 int column, int row, Direction towards);
    void AddDiagonalWall(int column, int row);
    void AddWall(glm::dvec2 p0, glm::dvec2 p1, double b0, double b1, double t0, double t1, glm::dvec2 facing);
    void Flush();
    void EmitWall(glm::dvec2 p0, glm::dvec2 p1, double b0, double b1, double t0, double t1,
                  glm::dvec2 facing);
    // Adds a floor triangle facing up, its corners ordered so that the collision's point test
    // holds every point of the floor in some triangle; `place` is the middle of its piece in x-z.
    void AddFloor(glm::dvec3 a, glm::dvec3 b, glm::dvec3 c, glm::dvec2 place);
    // Adds a triangle wound so that its front faces `facing`, turned round so that `middle` (one
    // of its corners) comes second; the file records `facing` for walls, the winding for floors.
    void Push(glm::dvec3 a, glm::dvec3 b, glm::dvec3 c, glm::dvec3 facing, glm::dvec3 middle, bool wall,
              glm::dvec2 place);

    const LevelMap& map;
    std::vector<Triangle> triangles;
    Run run;
};

}  // namespace AssetGenerator
