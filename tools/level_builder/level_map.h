// A level as the builder reads it from a tile map: per tile a floor height in steps and a shape,
// the map properties with their defaults, and the anchor tile under the game's fixed spawn point.
// Every rule of the format is checked while reading, so a LevelMap is always buildable except for
// seams the geometry finds. Built by Load or FromTmx, then read-only; any thread.
#pragma once

#include "level_error.h"
#include "level_tiles.h"

#include <glm/vec2.hpp>
#include <glm/vec3.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace TmxParser {
class TmxMap;
}

namespace AssetGenerator {

struct LevelCell {
    int height = 0;  // in steps; 0 is the void
    Shape shape = Shape::Full;
    // Ramps: the way they rise. Diagonals: the solid half holds the corner between this direction
    // and the next one clockwise (North: the north-east corner).
    Direction direction = North;
};

struct LevelSettings {
    double tileSize = 0.5;       // "tile-size": model units per tile edge, a multiple of 1/32
    double step = 0.125;         // "step": model units per height step, a multiple of 1/8
    double facadeBottom = -4.0;  // "facade-bottom": model y where outer walls end, a multiple of 1/8
};

class LevelMap {
public:
    static constexpr int kMaxSide = 1024;  // tiles per map side
    // The most triangles a room may have. The game draws and collides the whole room every frame: on
    // llvmpipe with two cores a checkerboard room of 25,000 triangles keeps 60 frames a second, one
    // of 49,000 about 50, of 99,000 about 25, and the largest legal map (a 1024 x 1024 checkerboard,
    // over 5 million) would give a few while taking gigabytes to build. The shipped room has 315.
    static constexpr size_t kMaxTriangles = 50000;
    // The game's fixed spawn point in model units (its world position over the room's scale); the
    // anchor tile's centre lies under it, at its x and z rounded to 1/8 so that corners stay exact.
    static glm::dvec3 Spawn();
    static glm::dvec2 AnchorCentre();

    // Reads `path` with the game's TMX loader; throws LevelError naming the file, layer and tile.
    static LevelMap Load(const std::string& path);
    // The same from a loaded map; `path` names it in messages. `firstTile` is the tile set's firstgid:
    // the stored number that is the level's tile 1.
    static LevelMap FromTmx(const TmxParser::TmxMap& map, const std::string& path, uint32_t firstTile = 1);
    // The refusal of a room past kMaxTriangles, for the geometry to throw once it gets there.
    LevelError TooManyTriangles() const;

    int Width() const { return width; }
    int Height() const { return height; }
    bool Inside(int column, int row) const;
    const LevelCell& At(int column, int row) const;  // a void cell outside the map
    const LevelSettings& Settings() const { return settings; }
    const std::string& Path() const { return path; }
    int AnchorColumn() const { return anchorColumn; }
    int AnchorRow() const { return anchorRow; }
    // Model x of the west edge of `column`, model z of the north edge of `row`.
    double X(int column) const;
    double Z(int row) const;
    double Y(int steps) const { return steps * settings.step; }  // model y of a height in steps
    // The layer a message about this tile names: "shape" when it has a shape, else "height".
    std::string LayerOf(int column, int row) const;

private:
    void ReadProperties(const TmxParser::TmxMap& map);
    void ReadLayers(const TmxParser::TmxMap& map);
    // The level's tile number of a stored one; throws for negative, flipped and pre-tile-set numbers.
    uint32_t TileNumber(uint32_t stored, const std::string& layer, int column, int row) const;
    void ReadHeight(uint32_t value, int column, int row);
    void ReadShape(uint32_t value, int column, int row);
    void CheckShapes();

    std::string path;
    uint32_t firstTile = 1;
    int width = 0, height = 0;
    LevelSettings settings;
    std::vector<LevelCell> cells;  // row-major
    int anchorColumn = -1, anchorRow = -1;
};

// The geometry's name for a direction ("north", "east", ...), used in messages.
const char* DirectionName(Direction direction);

}  // namespace AssetGenerator
