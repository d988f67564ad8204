// Fuzzes the tile-map loader from memory: it never throws; a null map comes with an error text and
// a map answers every tile query inside or outside its bounds.
#include "fuzz_input.h"
#include "tmxparser/tmx_map.h"
#include "tmxparser/tmxparser.h"

#include <cstdint>
#include <memory>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::unique_ptr<TmxParser::TmxMap> map(TmxParser::LoadTmxMapFromMemory(text, "fuzz.tmx"));
    if (!map) {
        Fuzz::Require(!TmxParser::GetError().empty(), "null map without an error text");
        return 0;
    }
    Fuzz::Require(TmxParser::GetError().empty(), "map with an error text");
    const unsigned int layers = map->GetLayerCount();
    for (unsigned int layer = 0; layer <= layers && layer < 4; ++layer) {
        for (unsigned int y : {0u, 1u, map->height, map->height - 1u, 0xFFFFFFFFu}) {
            for (unsigned int x : {0u, 1u, map->width, map->width - 1u, 0xFFFFFFFFu}) {
                const unsigned int tile = map->GetTile(layer, x, y);
                if (layer == layers || x >= map->width || y >= map->height) {
                    Fuzz::Require(tile == 0, "tile outside the map is not 0");
                }
            }
        }
    }
    map->GetPropertyValue("name");
    return 0;
}
