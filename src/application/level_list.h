// The levels a game folder offers, in the order its manifest lists them (the first is where the game
// starts): each a name for the command line, a title for the menus, and the names of its room model
// and its level data among the manifest's entries. A manifest that lists no level has one, made of the
// room "room2" and its data "room2Level", as every game folder had before levels were listed. Read
// once by the application shell (and by the checker); a plain value afterwards; any thread.
#pragma once

#include "engine/assets/asset_buffer.h"

#include <string>
#include <vector>

namespace Tml {
class Document;
}

namespace Application {

struct Level {
    std::string name;   // a short word: what --level takes
    std::string title;  // what the menus show; the name when the manifest gives none
    std::string room;   // the name of its model entry: drawn and collided with
    std::string data;   // the name of its markup entry (spawn, finish); empty: none
};

class LevelList {
public:
    // The manifest's words: root nodes "levels" hold one "level" node per level.
    static constexpr const char* Root = "levels";
    static constexpr const char* Node = "level";
    static constexpr const char* NameKey = "name";
    static constexpr const char* TitleKey = "title";
    static constexpr const char* RoomKey = "room";
    static constexpr const char* DataKey = "data";
    static constexpr size_t MaxNameLength = 32;

    // The level nodes of every "levels" root of `manifest`, in order. A node without a name that is a
    // word, without a room, or with the name of a level before it is skipped (the checker says why).
    // Without any level the list holds the one the game always had.
    static LevelList Read(const Tml::Document& manifest);
    // The level of a manifest that lists none: "room2" with its data "room2Level".
    static Level ImplicitLevel();
    // A short word: 1 to MaxNameLength letters, digits, '_' and '-', not starting with '-'.
    static bool IsName(const std::string& text);

    const std::vector<Level>& All() const { return levels; }
    size_t Count() const { return levels.size(); }
    const Level& At(size_t index) const { return levels.at(index); }
    // The index of the level called `name`, or -1.
    int IndexOf(const std::string& name) const;
    // True when the manifest lists no level and the list holds the one made of "room2".
    bool Implicit() const { return implicit; }

    // Whether `entry` is the room or the data of some level of the list.
    bool BelongsToALevel(const Engine::AssetEntry& entry) const;
    // Whether `entry` is the room or the data of the level at `index`.
    bool BelongsTo(const Engine::AssetEntry& entry, size_t index) const;
    // What start-up loads to play the level at `index`: every entry that is no level's room or data,
    // and that level's own, in manifest order. A player waits for the level played, not for all.
    std::vector<Engine::AssetEntry> PlanFor(const std::vector<Engine::AssetEntry>& entries,
                                            size_t index) const;
    // The level's own entries alone: what a switch to it loads.
    std::vector<Engine::AssetEntry> EntriesOf(const std::vector<Engine::AssetEntry>& entries,
                                              size_t index) const;

private:
    std::vector<Level> levels;
    bool implicit = false;
};

}  // namespace Application
