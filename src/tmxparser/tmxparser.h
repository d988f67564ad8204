// The tile-map loader: reads a TMX file (XML with CSV tile layers) into a new TmxMap. Keeps its
// working state in this unit, so one load runs at a time and GetError belongs to the thread that
// loaded; in the program both are used only by the asset loader thread.
#pragma once

#include "tmxparser/tmx_map.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace TmxParser {

// A new map read from `path`, owned by the caller; null on any failure, with the reason in GetError().
// Never throws: unreadable files, malformed XML, bad numbers and exhausted memory all return null.
TmxMap* LoadTmxMap(std::string path);
// The same for TMX text already in memory; `path` only names it in error texts. Never throws.
TmxMap* LoadTmxMapFromMemory(std::string_view text, const std::string& path);
// The text of the last failure; empty after a successful LoadTmxMap.
std::string GetError();

// Where the last failed load stopped inside a layer's tile numbers, for callers that name the tile
// itself (a map editor's flip flags, for one). `found` is false when the failure lay elsewhere.
struct TileFailure {
    bool found = false;
    std::string layer;      // the layer's name
    std::size_t index = 0;  // 0-based place of the bad number among the layer's tiles
    uint32_t mapWidth = 0;  // the map's width as read before the layer
    std::string text;       // the bad number as it stood in the file
};
TileFailure GetTileFailure();

}  // namespace TmxParser
