#include "stagewalk_check/walk_check.h"

#include "application/stage.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/room_walks.h"

#include <set>
#include <vector>

namespace StagewalkCheck {

namespace {

using Application::CollisionTriangle;

// Approaches a quarter of a world unit apart, at most this many along one wall piece. Floor points:
// the corners and edge middles only, which lie exactly on the seams; between them a point's float
// coordinates miss a slanted seam by a rounding, and which side it falls on says nothing of the room.
constexpr float ApproachSpacing = 0.25f;
constexpr size_t ApproachesPerPiece = 64;
constexpr float FloorSpacing = 1e30f;

std::string ModelPoint(const glm::vec3& world) {
    const glm::vec3 p = world / Application::Stage::RoomScale;
    return "(" + Number(p.x) + ", " + Number(p.y) + ", " + Number(p.z) + ") in model units";
}

// The room's triangles with the floors moved before the walls, each half in file order: how the
// level builder writes rooms.
std::vector<float> FloorsFirst(const std::vector<float>& positions, const RoomWalks& walks) {
    std::vector<float> floors, walls;
    const std::vector<CollisionTriangle>& triangles = walks.Triangles();
    for (size_t i = 0; i < triangles.size(); ++i) {
        std::vector<float>& into = triangles[i].kind == CollisionTriangle::Kind::Floor ? floors : walls;
        into.insert(into.end(), positions.begin() + i * 9, positions.begin() + i * 9 + 9);
    }
    floors.insert(floors.end(), walls.begin(), walls.end());
    return floors;
}

}  // namespace

void CheckRoomWalks(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
                    Diagnostics& out) {
    if (room.empty()) return;
    const std::vector<float>& positions = room[0]->positions;
    RoomWalks walks(positions);

    // One finding per wall piece and per floor face: the first place that fails.
    std::vector<WallApproach> leaks;
    std::set<int> leaking;
    for (const WallApproach& approach : walks.PlanApproaches(ApproachSpacing, ApproachesPerPiece)) {
        const int line = layout.FaceLine(0, approach.triangle);
        const int face = line != 0 ? line : -1 - static_cast<int>(approach.triangle);
        if (leaking.count(face) == 0 && walks.Passes(approach, 1.0f)) {
            leaking.insert(face);
            leaks.push_back(approach);
        }
    }
    std::set<int> sinking;  // f lines; a polygon's triangles share one
    for (const FloorPoint& point : walks.InnerFloorPoints(FloorSpacing)) {
        const int line = layout.FaceLine(0, point.triangle);
        const int face = line != 0 ? line : -1 - static_cast<int>(point.triangle);
        if (sinking.count(face) != 0 || !walks.Sinks(point, 1.0f)) continue;
        sinking.insert(face);
        out.Error(file, line,
                  "a player standing still on this floor at " + ModelPoint(point.position) +
                      " sinks through it: no face holds that point of the seam (the collision counts a point "
                      "on an edge as inside for some edges only, by the order of the corners): turn the "
                      "corners of this face or of the one beside it round (f 2 3 1 for f 1 2 3)");
    }
    if (leaks.empty()) return;

    // The walls that hold once the floors come first were passed because a landing in the middle
    // of the pass lifted the point the walls test.
    RoomWalks reordered(FloorsFirst(positions, walks));
    for (const WallApproach& leak : leaks) {
        const bool order = !reordered.Passes(leak, 1.0f);
        out.Error(file, layout.FaceLine(0, leak.triangle),
                  "a player walking at this wall from " + ModelPoint(leak.start) +
                      ", at 60 frames a second, passes through it: " +
                      (order ? "a floor it stands on comes after it in the file, and landing on that floor "
                               "lifts the point 0.25 above the feet that walls test past this wall's faces "
                               "(put the floors before the walls)"
                             : "the point 0.25 above the feet meets none of its faces there (the collision "
                               "counts a point on an edge as inside for some edges only: split the wall "
                               "along the other diagonal or turn its corners round)"));
    }
}

}  // namespace StagewalkCheck
