// Where a level starts the player: the feet's position in world units and the yaw it faces, read
// from the spawn node of the level's data (model units and degrees there); a level without one
// starts where the game always has. A plain value, built once per level; any thread.
#pragma once

#include <glm/glm.hpp>

namespace Tml {
class Document;
}

namespace Application {

class SpawnPoint {
public:
    // The start of a level that names none, in world units, looking along +z.
    static inline const glm::vec3 DefaultPosition{0.1f, 10.0f, -15.0f};

    // The first spawn node of `document` (inside its level node) that gives x, y and z as numbers
    // and, if at all, yaw as a number; the default start without one. A spawn node with a missing or
    // malformed number is skipped (the checker reports it).
    static SpawnPoint FromDocument(const Tml::Document* document);

    glm::vec3 position = DefaultPosition;  // the feet, world units
    float yaw = 0.0f;                      // radians; 0 faces +z
    bool given = false;                    // read from the level's data
};

}  // namespace Application
