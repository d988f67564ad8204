// What the level builder asks of a TMX file beyond what the game's map loader reads: a <map> root,
// orthogonal and finite, one tile set, and tile layers of the map's size, shown in the editor, whose
// tiles are plain CSV text. The loader skips or misreads all of these without a word (tile sets,
// orientation, layer sizes, visibility) or fails with a bare number error (Tiled's XML and base64
// layer formats, chunks, CDATA), so the builder reads the file itself first to say what to change.
// Stateless; any thread.
#pragma once

#include <cstdint>
#include <string>

namespace AssetGenerator {

// The first tile number (firstgid) of the map's one tile set, 1 when it has none. Throws LevelError
// naming what to change, in the file or in Tiled's menus. Leaves a file that cannot be read or is no
// well-formed XML alone (returns 1): the game's loader then says what is wrong with it.
uint32_t CheckTmxFormat(const std::string& path);

}  // namespace AssetGenerator
