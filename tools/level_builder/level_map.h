// A level as the builder reads it from a tile map: per tile a floor height in steps and a shape,
// the map properties with their defaults, and the spawn point where the player starts.
// Every rule of the format is checked while reading, so a LevelMap is always buildable except for
// seams the geometry finds. Built by Load or FromTmx, then read-only; any thread.
#pragma once

#include "level_error.h"
#include "level_tiles.h"
#include "tmx_format.h"

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
    // "origin-x", "origin-z": where the map's north-west corner lies, multiples of 1/64.
    double originX = 0.0, originZ = 0.0;
};

// Where the player starts, in model units, and the way it looks in degrees of the camera's yaw
// (0 along +z, south on the map; 90 along +x, east).
struct LevelSpawn {
    double x = 0, y = 0, z = 0, yaw = 0;
    int column = 0, row = 0;  // the tile it stands on
};

class LevelMap {
public:
    static constexpr int kMaxSide = 1024;  // tiles per map side
    // The most triangles a room may have. The game draws and collides the whole room every frame: on
    // llvmpipe with two cores a checkerboard room of 25,000 triangles keeps 60 frames a second, one
    // of 49,000 about 50, of 99,000 about 25, and the largest legal map (a 1024 x 1024 checkerboard,
    // over 5 million) would give a few while taking gigabytes to build. The shipped room has 315.
    static constexpr size_t kMaxTriangles = 50000;
    // How far above its tile's floor the player starts, in model units (2 world units, the eye's
    // height): it drops onto the floor in its first few frames.
    static constexpr double kSpawnLift = 0.25;

    // Reads `path` with the game's TMX loader; throws LevelError naming the file, layer and tile.
    static LevelMap Load(const std::string& path);
    // The same from a loaded map and what the builder read of the file itself; `path` names it in
    // messages.
    static LevelMap FromTmx(const TmxParser::TmxMap& map, const std::string& path, const TmxFormat& format);
    // The refusal of a room past kMaxTriangles, for the geometry to throw once it gets there.
    LevelError TooManyTriangles() const;

    int Width() const { return width; }
    int Height() const { return height; }
    bool Inside(int column, int row) const;
    const LevelCell& At(int column, int row) const;  // a void cell outside the map
    const LevelSettings& Settings() const { return settings; }
    const std::string& Path() const { return path; }
    const LevelSpawn& Spawn() const { return spawn; }
    // One line for each part of the file left out of the level (object and image layers), to show.
    const std::vector<std::string>& Notes() const { return notes; }
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
    void PlaceSpawn(const TmxFormat& format);
    // Refuses a ramp rising `steps` over its tile more steeply than the player walks.
    void CheckRampRise(int column, int row, int steps) const;

    std::string path;
    uint32_t firstTile = 1;
    int width = 0, height = 0;
    LevelSettings settings;
    std::vector<LevelCell> cells;  // row-major
    LevelSpawn spawn;
    std::vector<std::string> notes;
};

// The geometry's name for a direction ("north", "east", ...), used in messages.
const char* DirectionName(Direction direction);

}  // namespace AssetGenerator
