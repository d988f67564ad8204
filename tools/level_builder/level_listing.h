// Lists a built level in the game folder's asset manifest, so that the game plays it: the manifest
// beside the room gets a list with the room and its data and a level naming both, appended at its
// end, unless it lists the level already. Used by stagewalk-level --add; stateless, any thread.
#pragma once

#include <optional>
#include <string>

namespace AssetGenerator {

struct Listing {
    std::string manifest;             // the manifest's path: assets.tml beside the room
    std::optional<std::string> text;  // its new text; none when it lists the level already
    std::string note;                 // the line to show: what was done
};

// The listing of the level whose room goes to `objPath` (its data beside it), named after the room's
// stem and titled `title`. Throws std::runtime_error with one line naming the file when the name
// cannot name a level, the title cannot be written, the manifest cannot be read or gives no
// workdir, or it holds another level, room or data under the names.
Listing ListLevel(const std::string& objPath, const std::string& title);

}  // namespace AssetGenerator
