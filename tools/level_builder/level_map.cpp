#include "level_map.h"

#include "common/strict_number.h"

#include "collision/movement_tunables.h"
#include "level_error.h"
#include "obj_writer.h"
#include "tmx_format.h"
#include "tmxparser/tmx_map.h"
#include "tmxparser/tmxparser.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>

namespace AssetGenerator {

namespace {

constexpr const char* kHeightLayer = "height";
constexpr const char* kShapeLayer = "shape";
constexpr double kMaxOrigin = 4096;  // model units either way of 0 for the map's corner

// Tiled keeps a flipped or rotated tile as its number with these bits set on top.
constexpr uint64_t kFlipHorizontal = 0x80000000u, kFlipVertical = 0x40000000u, kFlipDiagonal = 0x20000000u;
constexpr uint64_t kFlipBits = kFlipHorizontal | kFlipVertical | kFlipDiagonal;

std::string FlipMessage(uint64_t value) {
    std::string how;
    auto add = [&how](const char* text) { how += (how.empty() ? "" : " and ") + std::string(text); };
    if (value & kFlipHorizontal) add("flipped horizontally");
    if (value & kFlipVertical) add("flipped vertically");
    if (value & kFlipDiagonal) add("rotated (flipped diagonally)");
    return "tile " + std::to_string(value & ~kFlipBits) + " was " + how + " in the editor (stored as " +
           std::to_string(value) +
           "); levels take no flipped or rotated tiles: use the ramp or diagonal tile that faces the "
           "way you want instead";
}

// A property value as a number that is a whole multiple of `unit` within [low, high], or an error.
double ReadNumber(const std::string& path, const std::string& key, const std::string& text, int perUnit,
                  double low, double high) {
    const double unit = 1.0 / perUnit;
    double value = 0.0;
    if (!Common::StrictNumber::ParseFinite(text, value) || !(value >= low && value <= high) ||
        std::floor(value / unit) != value / unit) {
        throw LevelError(path, "map property '" + key + "' is '" + text + "': it takes a multiple of 1/" +
                                   std::to_string(perUnit) + " from " + FormatNumber(low) + " to " +
                                   FormatNumber(high) + " (model units)");
    }
    return value;
}

// A map size as the file wrote it: the loader keeps a negative one as a huge unsigned number.
std::string SizeText(uint32_t size) { return std::to_string(static_cast<int32_t>(size)); }

// The loader's text without the path it names, which the level's message names already.
std::string WithoutPath(std::string text, const std::string& path) {
    for (const std::string& mention : {" in " + path, " " + path}) {
        const size_t at = text.find(mention);
        if (!path.empty() && at != std::string::npos) return text.erase(at, mention.size());
    }
    return text;
}

// The field the loader stopped at: a tile editors flipped, a number out of range or no number.
LevelError TileNumberError(const std::string& path, const TmxParser::TileFailure& tile) {
    const std::string& text = tile.text;
    const uint32_t columns = tile.mapWidth > 0 && tile.mapWidth <= INT32_MAX ? tile.mapWidth : 1;
    const int column = static_cast<int>(tile.index % columns), row = static_cast<int>(tile.index / columns);
    if (text.empty()) {
        return LevelError(path, tile.layer, column, row,
                          "an empty field where a tile number belongs (two commas in a row, or a comma "
                          "after the last tile)");
    }
    const size_t digits = text[0] == '-' || text[0] == '+' ? 1 : 0;
    const bool number =
        text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
    if (!number) return LevelError(path, tile.layer, column, row, "'" + text + "' is not a tile number");
    unsigned long long value = 0;  // past the largest: out of range too
    if (digits == 0 && !Common::StrictNumber::ParseWhole(text, value)) value = ~0ull;
    if (value <= 0xFFFFFFFFull && (value & kFlipBits)) {
        return LevelError(path, tile.layer, column, row, FlipMessage(value));
    }
    return LevelError(
        path, tile.layer, column, row,
        text + " is out of range (tiles are 0 to " + std::to_string(LevelTiles::kLastTile) + ")");
}

// The spawn's property "facing" as the camera's yaw in degrees: a compass word, or degrees clockwise
// from north as on a compass; none faces south, down the map.
std::optional<double> FacingYaw(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    double bearing = 180;
    if (text == "north") {
        bearing = 0;
    } else if (text == "east") {
        bearing = 90;
    } else if (text == "west") {
        bearing = 270;
    } else if (!text.empty() && text != "south") {
        if (!Common::StrictNumber::ParseFinite(text, bearing) || !(std::fabs(bearing) <= 360))
            return std::nullopt;
    }
    // Yaw 0 looks south and turns towards east: the bearing seen from the other end.
    const double yaw = std::fmod(540 - bearing, 360);
    return yaw == 0 ? 0.0 : yaw;  // never -0
}

}  // namespace

const char* DirectionName(Direction direction) {
    static const char* const names[] = {"north", "east", "south", "west"};
    return names[direction];
}

LevelMap LevelMap::Load(const std::string& path) {
    const TmxFormat format = ReadTmxFormat(path);
    const std::unique_ptr<TmxParser::TmxMap> map(TmxParser::LoadTmxMap(path));
    if (map) return FromTmx(*map, path, format);
    const TmxParser::TileFailure tile = TmxParser::GetTileFailure();
    if (tile.found) throw TileNumberError(path, tile);
    throw LevelError(path, "cannot read the map: " + WithoutPath(TmxParser::GetError(), path));
}

LevelMap LevelMap::FromTmx(const TmxParser::TmxMap& map, const std::string& path, const TmxFormat& format) {
    LevelMap level;
    level.path = path;
    level.firstTile = format.firstTile;
    level.notes = format.notes;
    if (map.width < 1 || map.height < 1 || map.width > kMaxSide || map.height > kMaxSide) {
        throw LevelError(path, "the map is " + SizeText(map.width) + " x " + SizeText(map.height) +
                                   " tiles; levels take 1 to " + std::to_string(kMaxSide) + " tiles a side");
    }
    level.width = static_cast<int>(map.width);
    level.height = static_cast<int>(map.height);
    level.cells.assign(static_cast<size_t>(level.width) * level.height, LevelCell());
    level.ReadProperties(map);
    level.ReadLayers(map);
    level.CheckShapes();
    level.PlaceSpawn(format);
    return level;
}

void LevelMap::ReadProperties(const TmxParser::TmxMap& map) {
    for (const TmxParser::KeyValuePair& property : map.properties) {
        if (property.key == "tile-size") {
            settings.tileSize = ReadNumber(path, property.key, property.value, 32, 1.0 / 8, 8.0);
        } else if (property.key == "step") {
            settings.step = ReadNumber(path, property.key, property.value, 8, 1.0 / 8, 1.0);
        } else if (property.key == "facade-bottom") {
            settings.facadeBottom = ReadNumber(path, property.key, property.value, 8, -64.0, 0.0);
        } else if (property.key == "origin-x" || property.key == "origin-z") {
            (property.key == "origin-x" ? settings.originX : settings.originZ) =
                ReadNumber(path, property.key, property.value, 64, -kMaxOrigin, kMaxOrigin);
        } else {
            throw LevelError(path, "unknown map property '" + property.key +
                                       "' (levels know 'tile-size', 'step', 'facade-bottom', 'origin-x' and "
                                       "'origin-z')");
        }
    }
}

void LevelMap::ReadLayers(const TmxParser::TmxMap& map) {
    bool seen[2] = {false, false};
    const size_t expected = cells.size();
    for (const TmxParser::TmxLayer& layer : map.layers) {
        const bool isHeight = layer.name == kHeightLayer;
        if (!isHeight && layer.name != kShapeLayer) {
            throw LevelError(path, layer.name,
                             "unknown layer (levels have a layer 'height' and may have 'shape')");
        }
        if (seen[isHeight ? 0 : 1]) throw LevelError(path, layer.name, "a second layer of this name");
        seen[isHeight ? 0 : 1] = true;
        if (layer.tiles.size() != expected) {
            throw LevelError(path, layer.name,
                             "has " + std::to_string(layer.tiles.size()) + " tiles; the map is " +
                                 std::to_string(width) + " x " + std::to_string(height) + " = " +
                                 std::to_string(expected));
        }
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const uint32_t stored = layer.tiles[static_cast<size_t>(row) * width + column];
                const uint32_t value = TileNumber(stored, layer.name, column, row);
                if (isHeight) {
                    ReadHeight(value, column, row);
                } else {
                    ReadShape(value, column, row);
                }
            }
        }
    }
    if (!seen[0]) throw LevelError(path, kHeightLayer, "missing: every level needs its floor heights");
}

uint32_t LevelMap::TileNumber(uint32_t stored, const std::string& layer, int column, int row) const {
    // Numbers past the signed range fail to load, so a stored one there was written negative.
    if (stored > INT32_MAX) {
        throw LevelError(path, layer, column, row,
                         "tile " + SizeText(stored) +
                             ": tile numbers are never negative (0 is the void in "
                             "'height' and a full tile in 'shape')");
    }
    if (stored & kFlipBits) throw LevelError(path, layer, column, row, FlipMessage(stored));
    if (stored == 0 || firstTile == 1) return stored;
    // The tile set starts at firstgid: its first tile is the level's tile 1.
    if (stored < firstTile) {
        throw LevelError(path, layer, column, row,
                         "tile " + std::to_string(stored) +
                             " lies before the tile set, whose first tile is " + std::to_string(firstTile) +
                             " (firstgid)");
    }
    return stored - firstTile + 1;
}

void LevelMap::ReadHeight(uint32_t value, int column, int row) {
    if (value >= LevelTiles::kFirstRamp && value <= LevelTiles::kLastTile) {
        throw LevelError(
            path, kHeightLayer, column, row,
            "shape tile " + std::to_string(value) + " in the height layer (shapes go in 'shape')");
    }
    if (value > LevelTiles::kMaxHeight) {
        throw LevelError(path, kHeightLayer, column, row,
                         "unknown tile value " + std::to_string(value) + " (heights are 1 to " +
                             std::to_string(LevelTiles::kMaxHeight) + " steps, 0 is the void)");
    }
    cells[static_cast<size_t>(row) * width + column].height = static_cast<int>(value);
}

void LevelMap::ReadShape(uint32_t value, int column, int row) {
    LevelCell& cell = cells[static_cast<size_t>(row) * width + column];
    if (value == LevelTiles::kVoid) return;
    if (value == LevelTiles::kRetiredAnchor) {
        throw LevelError(
            path, kShapeLayer, column, row,
            "tile 65, the anchor, is no longer used: the player starts at the map's spawn point, "
            "a point of class 'spawn' in an object layer; make this tile 0");
    }
    if (value < LevelTiles::kFirstRamp || value > LevelTiles::kLastTile) {
        throw LevelError(path, kShapeLayer, column, row,
                         "unknown tile value " + std::to_string(value) +
                             (value <= LevelTiles::kMaxHeight
                                  ? " (a height tile: heights go in 'height')"
                                  : " (shapes are " + std::to_string(LevelTiles::kFirstRamp) + " to " +
                                        std::to_string(LevelTiles::kLastTile) + ", 0 is a full tile)"));
    }
    if (value == LevelTiles::kFinish) {
        cell.shape = Shape::Finish;
    } else if (value < LevelTiles::kFirstDiagonal) {
        cell.shape = Shape::Ramp;
        cell.direction = static_cast<Direction>(value - LevelTiles::kFirstRamp);
    } else {
        cell.shape = Shape::Diagonal;
        cell.direction = static_cast<Direction>(value - LevelTiles::kFirstDiagonal);
    }
}

void LevelMap::CheckShapes() {
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const LevelCell& cell = At(column, row);
            if (cell.shape == Shape::Full) continue;
            if (cell.height == 0 && cell.shape == Shape::Finish) {
                throw LevelError(path, kShapeLayer, column, row,
                                 "a finish on the void: a run ends on a floor (give the tile a height)");
            }
            if (cell.height == 0) {
                throw LevelError(path, kShapeLayer, column, row,
                                 "a shape on the void (give the tile a height)");
            }
            if (cell.shape != Shape::Ramp) continue;
            const int dc = cell.direction == East ? 1 : cell.direction == West ? -1 : 0;
            const int dr = cell.direction == South ? 1 : cell.direction == North ? -1 : 0;
            const LevelCell& next = At(column + dc, row + dr);
            if (next.height <= cell.height) {
                throw LevelError(path, kShapeLayer, column, row,
                                 std::string("a ramp rising ") + DirectionName(cell.direction) +
                                     " with nothing to rise to (the tile " + DirectionName(cell.direction) +
                                     " of it is " + (next.height == 0 ? "void" : "not higher") + ")");
            }
            CheckRampRise(column, row, next.height - cell.height);
        }
    }
}

void LevelMap::PlaceSpawn(const TmxFormat& format) {
    if (format.spawns.empty()) {
        throw LevelError(
            path,
            "no spawn point: add an object layer (in Tiled: Layer > New > Object Layer) and in it a "
            "point (Insert Point) of class 'spawn' where the player starts");
    }
    const SpawnObject& object = format.spawns[0];
    const std::string label = "spawn point (" + object.label + ")";
    if (format.spawns.size() > 1) {
        throw LevelError(path, "a second spawn point (" + format.spawns[1].label + "), besides the " + label +
                                   ": keep one");
    }
    const std::optional<double> yaw = FacingYaw(object.facing);
    if (!yaw) {
        throw LevelError(path, label + ": facing is '" + object.facing +
                                   "'; it takes north, east, south, west or degrees clockwise from north");
    }
    const double column = std::floor(object.x / format.tileWidth),
                 row = std::floor(object.y / format.tileHeight);
    if (!(column >= 0 && row >= 0 && column < width && row < height)) {
        throw LevelError(path, label + ": lies outside the map, at pixel (" + FormatNumber(object.x) + "," +
                                   FormatNumber(object.y) + ")");
    }
    spawn.column = static_cast<int>(column);
    spawn.row = static_cast<int>(row);
    const LevelCell& cell = At(spawn.column, spawn.row);
    const std::string tile = "tile (" + std::to_string(spawn.column) + "," + std::to_string(spawn.row) + ")";
    if (cell.height == 0)
        throw LevelError(path, label + ": lies over the void at " + tile + ": put it on a floor");
    if (cell.shape == Shape::Finish) {
        throw LevelError(path, label + ": stands on a finish at " + tile + ", where a run would end at once");
    }
    if (cell.shape != Shape::Full) {
        throw LevelError(path, label + ": stands on a " +
                                   (cell.shape == Shape::Ramp ? "ramp" : "diagonal half tile") + " at " +
                                   tile + ": put it on a flat tile");
    }
    spawn.x = settings.originX + object.x / format.tileWidth * settings.tileSize;
    spawn.z = settings.originZ + object.y / format.tileHeight * settings.tileSize;
    spawn.y = Y(cell.height) + kSpawnLift;
    spawn.yaw = *yaw;
}

void LevelMap::CheckRampRise(int column, int row, int steps) const {
    // The game takes a face steeper than it can walk for a wall: such a ramp would hold the player
    // back like one. Products of binary fractions, so the comparison is exact.
    const double most = Application::Movement::WalkableRise * settings.tileSize;
    if (steps * settings.step <= most) return;
    int allowed = static_cast<int>(std::floor(most / settings.step));
    while ((allowed + 1) * settings.step <= most) ++allowed;
    while (allowed > 0 && allowed * settings.step > most) --allowed;
    const LevelCell& cell = At(column, row);
    throw LevelError(
        path, kShapeLayer, column, row,
        std::string("a ramp rising ") + DirectionName(cell.direction) + " by " + std::to_string(steps) +
            " steps over one tile, " + FormatNumber(steps * settings.step / settings.tileSize) +
            " per unit across: too steep to walk (the player walks up at most " +
            FormatNumber(Application::Movement::WalkableRise) + " per unit, " + std::to_string(allowed) +
            " steps over a tile of " + FormatNumber(settings.tileSize) + ": lower the tile " +
            DirectionName(cell.direction) + " of it or raise this one)");
}

bool LevelMap::Inside(int column, int row) const {
    return column >= 0 && row >= 0 && column < width && row < height;
}

const LevelCell& LevelMap::At(int column, int row) const {
    static const LevelCell outside;
    return Inside(column, row) ? cells[static_cast<size_t>(row) * width + column] : outside;
}

double LevelMap::X(int column) const { return settings.originX + column * settings.tileSize; }

double LevelMap::Z(int row) const { return settings.originZ + row * settings.tileSize; }

LevelError LevelMap::TooManyTriangles() const {
    return LevelError(path, "the room would have more than " + std::to_string(kMaxTriangles) +
                                " triangles, more than the game draws and collides smoothly (a room of "
                                "millions plays at a few frames a second on a software renderer): make "
                                "larger areas of one height, or a smaller map");
}

std::string LevelMap::LayerOf(int column, int row) const {
    return At(column, row).shape == Shape::Full ? kHeightLayer : kShapeLayer;
}

}  // namespace AssetGenerator
