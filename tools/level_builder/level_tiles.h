// The tile numbers of the level format: one tile set (first number 1) whose first 64 tiles are the
// floor heights 1 to 64 in steps, followed by an unused tile (once the anchor under a fixed spawn
// point), the four ramps, the four diagonal half tiles and the finish. Shared by the level reader, the
// geometry and the tile set picture; constants only.
#pragma once

#include <cstdint>

namespace AssetGenerator {

// Compass directions on the map: north is up in the editor (towards -z), east to the right (+x).
enum Direction : int { North = 0, East = 1, South = 2, West = 3 };

enum class Shape { Full, Ramp, Diagonal, Finish };

namespace LevelTiles {

constexpr uint32_t kVoid = 0;            // height layer: no floor; shape layer: a full tile
constexpr uint32_t kMaxHeight = 64;      // height layer: 1..64 are heights in steps
constexpr uint32_t kRetiredAnchor = 65;  // refused: the spawn point is an object of the map now
constexpr uint32_t kFirstRamp = 66;      // 66..69: ramps rising towards north, east, south, west
constexpr uint32_t kFirstDiagonal = 70;  // 70..73: half tiles solid in the NE, SE, SW and NW corner
constexpr uint32_t kFinish = 74;         // a full tile where a run ends; any number of them
constexpr uint32_t kLastTile = 74;
constexpr int kColumns = 8;  // tiles per row of the tile set picture
constexpr int kPixels = 32;  // tile edge in the tile set picture

// A diagonal tile kFirstDiagonal + d is solid in the corner between d and NextClockwise(d): North
// gives the north-east corner, East the south-east, South the south-west, West the north-west.
inline constexpr Direction NextClockwise(Direction d) { return static_cast<Direction>((d + 1) % 4); }
inline constexpr Direction Opposite(Direction d) { return static_cast<Direction>((d + 2) % 4); }

}  // namespace LevelTiles

}  // namespace AssetGenerator
