#include "tmxparser/tmx_map.h"

#include <utility>

namespace TmxParser {

TmxMap::TmxMap() = default;

TmxMap::TmxMap(unsigned int width, unsigned int height) : width(width), height(height) {}

unsigned int TmxMap::GetTile(unsigned int layer, unsigned int x, unsigned int y) const {
    if (layer >= layers.size() || x >= width || y >= height) return 0;
    // The index is 32-bit. Where y * width + x would not fit, the tile cannot be stored (no layer holds
    // 2^32 tiles), so it reads as missing instead of wrapping round onto another tile.
    const uint64_t wide = static_cast<uint64_t>(y) * width + x;
    if (wide > UINT32_MAX) return 0;
    const uint32_t index = static_cast<uint32_t>(wide);
    const std::vector<uint32_t>& tiles = layers[layer].tiles;
    return index < tiles.size() ? tiles[index] : 0;
}

std::string TmxMap::GetPropertyValue(std::string key) const {
    for (const KeyValuePair& property : properties) {
        if (property.key == key) return property.value;
    }
    return std::string();
}

unsigned int TmxMap::GetLayerCount() const { return static_cast<unsigned int>(layers.size()); }

void TmxMap::PushLayer(TmxLayer layer) { layers.push_back(std::move(layer)); }

void TmxMap::PushProperty(KeyValuePair property) { properties.push_back(std::move(property)); }

}  // namespace TmxParser
