// The in-memory tile map: size in tiles, map properties and CSV tile layers, in file order.
// Built by LoadTmxMap on the loader thread and owned by whoever receives the pointer (the asset
// store). A finished map is read-only and may be read from any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TmxParser {

// One tile layer: tile numbers row-major (column x, row y is tiles[x + y * map width]).
struct TmxLayer {
    std::vector<uint32_t> tiles;
    std::string name;
};

// One map property; a missing attribute leaves its text empty.
struct KeyValuePair {
    std::string key;
    std::string value;
};

class TmxMap {
public:
    TmxMap();                                         // empty map of 0 x 0 tiles
    TmxMap(unsigned int width, unsigned int height);  // empty map of the given size

    // Tile at column x, row y of layer `layer`; 0 outside the layers, the map size or the stored tiles.
    unsigned int GetTile(unsigned int layer, unsigned int x, unsigned int y) const;
    // Value of the first property whose key equals `key` byte for byte; empty when there is none.
    std::string GetPropertyValue(std::string key) const;
    // Number of layers that were read (one per "data" element).
    unsigned int GetLayerCount() const;
    // Appends a copy of `layer`.
    void PushLayer(TmxLayer layer);
    // Appends a copy of `property`; duplicates are kept.
    void PushProperty(KeyValuePair property);

    std::vector<TmxLayer> layers;          // in the order of their "data" elements
    std::vector<KeyValuePair> properties;  // in file order
    uint32_t width = 0;                    // in tiles
    uint32_t height = 0;                   // in tiles
};

}  // namespace TmxParser
