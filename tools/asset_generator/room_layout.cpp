#include "room_layout.h"

#include "room_builder.h"

namespace AssetGenerator {

namespace {

// Heights. All are exact binary fractions, so floorf(y * 1000) / 1000 leaves them unchanged.
constexpr double kLower = 0.0;          // lower deck; the player spawns above it at (0.0125, 1.25, -1.875)
constexpr double kUpper = 1.0;          // upper deck: a full jump (about 1.6) clears it, the ramp leads up
constexpr double kParapet = 0.125;      // parapet height and thickness: waist-high, below the eye (0.25)
constexpr double kFacadeBottom = -6.0;  // the building's outer walls fade into the fog below

// Building footprint.
constexpr double kWest = -3.0, kEast = 3.0, kSouth = -3.5, kNorth = 4.5;
// The step between the decks runs along z = 1.5, except in the west where it turns diagonally
// from (-1.5, 1.5) to (-3, 3).
constexpr double kStepZ = 1.5, kDiagonalX = -1.5, kDiagonalEndZ = 3.0;
// Ramp up the step: x in [0.75, 2], from z = -2.5 (lower deck) to z = 1.5 (upper deck), slope 1/4.
constexpr double kRampX0 = 0.75, kRampX1 = 2.0, kRampZ0 = -2.5;

void AddDecks(RoomBuilder& room) {
    room.FloorGrid({kWest, -2, -1, 0, kRampX0, kRampX1, kEast}, {kSouth, -2.5, -1.5, -0.5, 0.5, kStepZ},
                   kLower, [](glm::dvec2 c) { return c.x > kRampX0 && c.x < kRampX1 && c.y > kRampZ0; });
    room.Floor({{kWest, kStepZ}, {kDiagonalX, kStepZ}, {kWest, kDiagonalEndZ}}, kLower);

    room.FloorGrid({kDiagonalX, -0.5, kRampX0, kRampX1, kEast}, {kStepZ, 2.5, 3.5, kNorth}, kUpper,
                   [](glm::dvec2) { return false; });
    const double midX = (kWest + kDiagonalX) / 2, midZ = (kStepZ + kDiagonalEndZ) / 2;
    room.Floor({{kWest, kDiagonalEndZ}, {midX, midZ}, {midX, kNorth}, {kWest, kNorth}}, kUpper);
    room.Floor({{midX, midZ}, {kDiagonalX, kStepZ}, {kDiagonalX, kNorth}, {midX, kNorth}}, kUpper);
}

void AddRamp(RoomBuilder& room) {
    const double rise = (kUpper - kLower) / 4;
    for (int i = 0; i < 4; ++i) {
        const double z0 = kRampZ0 + i, z1 = z0 + 1;
        const double y0 = kLower + rise * i, y1 = y0 + rise;
        room.Surface({{kRampX0, y0, z0}, {kRampX1, y0, z0}, {kRampX1, y1, z1}, {kRampX0, y1, z1}});
        room.Wall({kRampX0, z0}, {kRampX0, z1}, kLower, y0, y1, {-1, 0});
        room.Wall({kRampX1, z0}, {kRampX1, z1}, kLower, y0, y1, {1, 0});
    }
}

void AddStep(RoomBuilder& room) {
    // The faces of the step look down at the lower deck; the upper deck's edge above them is open.
    room.Wall({kDiagonalX, kStepZ}, {kRampX0, kStepZ}, kLower, kUpper, kUpper, {0, -1});
    room.Wall({kRampX1, kStepZ}, {kEast, kStepZ}, kLower, kUpper, kUpper, {0, -1});
    room.Wall({kWest, kDiagonalEndZ}, {kDiagonalX, kStepZ}, kLower, kUpper, kUpper, {-1, -1});
}

void AddParapets(RoomBuilder& room) {
    const double t = kParapet;
    // Lower deck: south and east. The west side stays open over the void.
    room.Wall({kWest, kSouth + t}, {kEast - t, kSouth + t}, kLower, kLower + t, kLower + t, {0, 1});
    room.Floor({{kWest, kSouth}, {kEast - t, kSouth}, {kEast - t, kSouth + t}, {kWest, kSouth + t}},
               kLower + t);
    room.Wall({kWest, kSouth}, {kWest, kSouth + t}, kLower, kLower + t, kLower + t, {-1, 0});
    room.Wall({kEast - t, kSouth + t}, {kEast - t, kStepZ}, kLower, kLower + t, kLower + t, {-1, 0});
    room.Floor({{kEast - t, kSouth}, {kEast, kSouth}, {kEast, kStepZ}, {kEast - t, kStepZ}}, kLower + t);

    // Upper deck: north, east and the short west run beyond the diagonal.
    const double top = kUpper + t;
    room.Wall({kWest + t, kNorth - t}, {kEast - t, kNorth - t}, kUpper, top, top, {0, -1});
    room.Floor({{kWest, kNorth - t}, {kEast, kNorth - t}, {kEast, kNorth}, {kWest, kNorth}}, top);
    room.Wall({kEast - t, kStepZ}, {kEast - t, kNorth - t}, kUpper, top, top, {-1, 0});
    room.Wall({kEast - t, kStepZ}, {kEast, kStepZ}, kUpper, top, top, {0, -1});
    room.Floor({{kEast - t, kStepZ}, {kEast, kStepZ}, {kEast, kNorth - t}, {kEast - t, kNorth - t}}, top);
    room.Wall({kWest + t, kDiagonalEndZ}, {kWest + t, kNorth - t}, kUpper, top, top, {1, 0});
    room.Wall({kWest, kDiagonalEndZ}, {kWest + t, kDiagonalEndZ}, kUpper, top, top, {0, -1});
    room.Floor(
        {{kWest, kDiagonalEndZ}, {kWest + t, kDiagonalEndZ}, {kWest + t, kNorth - t}, {kWest, kNorth - t}},
        top);
}

void AddFacade(RoomBuilder& room) {
    // The outer walls of the building below the terrace, seen when falling off the open side.
    const double low = kLower + kParapet, high = kUpper + kParapet;
    room.Wall({kWest, kSouth}, {kEast, kSouth}, kFacadeBottom, low, low, {0, -1}, 2.0);
    room.Wall({kEast, kSouth}, {kEast, kStepZ}, kFacadeBottom, low, low, {1, 0}, 2.0);
    room.Wall({kEast, kStepZ}, {kEast, kNorth}, kFacadeBottom, high, high, {1, 0}, 2.0);
    room.Wall({kWest, kNorth}, {kEast, kNorth}, kFacadeBottom, high, high, {0, 1}, 2.0);
    room.Wall({kWest, kSouth}, {kWest, kDiagonalEndZ}, kFacadeBottom, kLower, kLower, {-1, 0}, 2.0);
    room.Wall({kWest, kDiagonalEndZ}, {kWest, kNorth}, kFacadeBottom, high, high, {-1, 0}, 2.0);
}

void AddFurniture(RoomBuilder& room) {
    // A crate to jump on, 0.75 above the lower deck, near the open edge.
    room.Box(-2.5, -1.75, -1.0, -0.25, kLower, kLower + 0.75);
    // Pillars, tall enough to walk around rather than over; their corners are brushed past.
    const double half = 0.125, pillar = 1.5;
    for (const glm::dvec2 c : {glm::dvec2(-1.25, -2.5), glm::dvec2(-1.25, 0.75), glm::dvec2(2.5, -2.5)})
        room.Box(c.x - half, c.x + half, c.y - half, c.y + half, kLower, kLower + pillar);
    room.Box(2.25 - half, 2.25 + half, 3.5 - half, 3.5 + half, kUpper, kUpper + pillar);
    // A hut on the upper deck whose roof is one more jump up.
    room.Box(-0.75, 0.75, 3.0, 4.0, kUpper, kUpper + 0.875);
}

}  // namespace

ObjWriter MakeRoomModel() {
    RoomBuilder room("room2");
    AddDecks(room);
    AddRamp(room);
    AddStep(room);
    AddParapets(room);
    AddFacade(room);
    AddFurniture(room);
    return room.Obj();
}

}  // namespace AssetGenerator
