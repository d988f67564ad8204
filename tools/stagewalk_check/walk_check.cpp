#include "stagewalk_check/walk_check.h"

#include "application/stage.h"
#include "collision/actor.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/room_walks.h"

#include <set>
#include <utility>
#include <vector>

namespace StagewalkCheck {

namespace {

using Application::CollisionTriangle;

// Approaches a quarter of a world unit apart, at most this many along one wall piece. Floor points:
// the corners and edge middles only, which lie exactly on the seams; between them a point's float
// coordinates miss a slanted seam by a rounding, and which side it falls on says nothing of the room.
constexpr float ApproachSpacing = 0.25f;
constexpr size_t ApproachesPerPiece = 64;
constexpr float CornerSpacing = 0.05f;  // the lines into a corner: a leak there is a few of them wide
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
    std::set<std::pair<int, bool>> leaking;  // a wall's face, and whether at a corner
    auto walk = [&](const std::vector<WallApproach>& approaches) {
        for (const WallApproach& approach : approaches) {
            const int line = layout.FaceLine(0, approach.triangle);
            const std::pair<int, bool> face(line != 0 ? line : -1 - static_cast<int>(approach.triangle),
                                            approach.corner);
            if (leaking.count(face) == 0 && walks.Passes(approach, 1.0f)) {
                leaking.insert(face);
                leaks.push_back(approach);
            }
        }
    };
    walk(walks.PlanApproaches(ApproachSpacing, ApproachesPerPiece));
    walk(walks.PlanCornerApproaches(CornerSpacing));
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
    const std::string probe = "the point " + Number(Application::Actor::WallProbeHeight) + " above the feet";
    for (const WallApproach& leak : leaks) {
        std::string why;
        if (!reordered.Passes(leak, 1.0f)) {
            why = "a floor it stands on comes after it in the file, and landing on that floor lifts " +
                  probe + " that walls test past this wall's faces (put the floors before the walls)";
        } else if (leak.corner) {
            why =
                "beyond the ends of both walls only an upright edge at the corner holds a player, and no "
                "face there has one reaching " +
                probe + " (give each wall's faces two corners exactly above one another at the corner point)";
        } else {
            why = probe +
                  " meets none of its faces there (the collision counts a point on an edge as inside "
                  "for some edges only: split the wall along the other diagonal or turn its corners round)";
        }
        const glm::vec3 corner(leak.end2.x, leak.start.y, leak.end2.y);
        const std::string walking = leak.corner ? "walking into this wall's corner at " + ModelPoint(corner) +
                                                      " on a slant from " + ModelPoint(leak.start)
                                                : "walking at this wall from " + ModelPoint(leak.start);
        out.Error(file, layout.FaceLine(0, leak.triangle),
                  "a player " + walking + ", at 60 frames a second, passes through it: " + why);
    }
}

}  // namespace StagewalkCheck
