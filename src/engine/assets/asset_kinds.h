// The names of an asset manifest: its list node, the list's key and an entry's keys, and the kinds
// of entry it may list, each the name of an entry's node. The loader reads only these, and the
// checker, the level builder and the asset generator name them from here. Constants; any thread.
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

namespace Engine::Manifest {

inline constexpr const char* List = "list";        // a root node holding entries
inline constexpr const char* Workdir = "workdir";  // the list's key: the folder its paths lie in
inline constexpr const char* Name = "name";        // an entry's key: the name the game asks for
inline constexpr const char* Path = "path";        // an entry's key: the file, under the workdir

}  // namespace Engine::Manifest
