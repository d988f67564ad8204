// What the level builder asks of a TMX file beyond what the game's map loader reads: a <map> root,
// orthogonal and finite, one tile set, and tile layers of the map's size, shown in the editor, whose
// tiles are plain CSV text. The loader skips or misreads all of these without a word (tile sets,
// orientation, layer sizes, visibility) or fails with a bare number error (Tiled's XML and base64
// layer formats, chunks, CDATA), so the builder reads the file itself first to say what to change.
// It also reads what the loader skips and a level needs: the spawn point in an object layer, and the
// tile size in pixels that object positions are given in. Stateless; any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGenerator {

// An object of class "spawn" as the file places it: in pixels from the map's top-left corner (a
// rectangle or ellipse by its centre), with its layer offset added.
struct SpawnObject {
    std::string label;  // how messages name it: "object 3 'start', object layer 'objects'"
    double x = 0, y = 0;
    std::string facing;  // its property "facing", empty when it has none
};

struct TmxFormat {
    uint32_t firstTile = 1;                  // the tile set's firstgid: the stored number of tile 1
    double tileWidth = 32, tileHeight = 32;  // the map's tilewidth and tileheight in pixels
    std::vector<SpawnObject> spawns;         // every spawn object, in file order
    std::vector<std::string> notes;          // one line for each part of the file left out of the level
};

// The tile set, tile size and spawn objects of the map at `path`. Throws LevelError naming what to
// change, in the file or in Tiled's menus. Leaves a file that cannot be read or is no well-formed XML
// alone (returns the defaults): the game's loader then says what is wrong with it.
TmxFormat ReadTmxFormat(const std::string& path);

}  // namespace AssetGenerator
