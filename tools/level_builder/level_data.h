// The level's data beside its model: the spawn point and the finish rectangles of a LevelMap
// (neighbouring finish tiles of one height merged) as a tml document in model units, which the game
// reads to know where the player starts and where a run ends. Used once per build; stateless, any thread.
#pragma once

#include "level_map.h"

#include <string>

namespace AssetGenerator {

// The document's whole text; `name` is the room's, for the comment at its top. A map without
// finish tiles gives a document with a spawn and no finish node.
std::string MakeLevelData(const LevelMap& map, const std::string& name);

// Where the data of the model at `objPath` goes: beside it, its stem followed by ".level.tml"
// (room2.obj: room2.level.tml).
std::string LevelDataPath(const std::string& objPath);

}  // namespace AssetGenerator
