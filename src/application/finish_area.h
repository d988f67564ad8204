// Where a run ends: the finish rectangles of the room's data document, in world units, and whether
// an actor stands on one. Built once from the loaded document and owned by the game; main thread.
#pragma once

#include <vector>

namespace Tml {
class Document;
}

namespace Application {

class Actor;

class FinishArea {
public:
    // How far the feet may be above or below a rectangle's floor and still stand on it: well
    // inside one height step (1 world unit), well outside the float error of a landing.
    static constexpr float FloorTolerance = 0.05f;

    // One rectangle in world units: x from west to east, z from north to south, the floor's y.
    struct Rectangle {
        float west, east, north, south, floor;
    };

    // The finish rectangles of `document` (the level's data, in model units), scaled by the room's
    // scale. A null document, or one without finish nodes, gives an empty area; a finish node with a
    // missing or malformed number, or with no width or depth, is skipped (the checker reports it).
    static FinishArea FromDocument(const Tml::Document* document);

    bool Empty() const { return rectangles.empty(); }
    const std::vector<Rectangle>& Rectangles() const { return rectangles; }
    // The actor stands on a finish: on the ground, its feet inside a rectangle seen from above
    // (edges included) and within FloorTolerance of that rectangle's floor.
    bool Holds(const Actor& actor) const;

private:
    std::vector<Rectangle> rectangles;
};

}  // namespace Application
