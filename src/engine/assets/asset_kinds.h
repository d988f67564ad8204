// The kinds of entry an asset manifest may list, each the name of an entry's node: the loader reads
// only these, and the checker and the asset generator name them from here. Constants; any thread.
#pragma once

#include <array>
#include <string>

namespace Engine::AssetKind {

inline constexpr const char* Bitmap = "bitmap";  // an image, uploaded as a texture
inline constexpr const char* Model = "model";    // an OBJ model, uploaded as vertex buffers
inline constexpr const char* Map = "map";        // a TMX tile map, kept as read
inline constexpr const char* Markup = "markup";  // a tml document, kept as read
inline constexpr const char* Sound = "sound";    // a sound file, decoded, made a buffer on the device

inline constexpr std::array<const char*, 5> All = {Bitmap, Model, Map, Markup, Sound};

inline bool IsKnown(const std::string& kind) {
    for (const char* known : All) {
        if (kind == known) return true;
    }
    return false;
}

}  // namespace Engine::AssetKind
