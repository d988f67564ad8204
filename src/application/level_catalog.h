// The game folder's levels as the shell keeps them for the run: the list and every manifest entry,
// read from the manifest, and per level what has become known of it: its identity, its best time and
// the store that holds its room and data once loaded. Owned by the application shell; main thread only.
#pragma once

#include "application/level_list.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Engine {
class Assets;
}

namespace Tml {
class Document;
}

namespace Application {

class RunRecords;

class LevelCatalog {
public:
    // What is known of one level.
    struct Known {
        std::string identity;             // empty until known
        int64_t best = -1;                // steps of 1/60 s, -1 without one; meaningful once identified
        Engine::Assets* store = nullptr;  // holds its room and data once loaded; borrowed
        bool unreadable = false;          // its files did not load when last tried
    };

    // The levels and entries of `manifest`; nothing is known of any level yet.
    void Read(const Tml::Document& manifest);

    const LevelList& List() const { return levels; }
    const std::vector<Engine::AssetEntry>& Entries() const { return entries; }
    size_t Count() const { return levels.Count(); }
    const Level& At(size_t index) const { return levels.At(index); }
    Known& State(size_t index) { return known.at(index); }
    const Known& State(size_t index) const { return known.at(index); }

    // The file the store loads for the level's room, or its data: the first entry of that kind and
    // name, as the store hands out the first; "" when the manifest lists none.
    std::string RoomPath(size_t index) const;
    std::string DataPath(size_t index) const;
    // The level's identity from its files, converted as the loader converts them; "" when they do
    // not load.
    std::string IdentityOfFiles(size_t index) const;
    // Records the level's identity and looks its best up in `records`. A best kept under the identity
    // levels had before (the bytes of the room file) is carried over to `identity` when that has none,
    // in `records` too, so that the next save keeps it under the new one.
    void Identify(size_t index, const std::string& identity, RunRecords& records);

private:
    std::string PathOf(const char* kind, const std::string& name) const;

    LevelList levels;
    std::vector<Engine::AssetEntry> entries;
    std::vector<Known> known;
};

}  // namespace Application
