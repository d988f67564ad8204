#include "stagewalk_check/walk_check.h"

#include "application/stage.h"
#include "collision/actor.h"
#include "common/step_rate.h"
#include "stagewalk_check/progress.h"
#include "stagewalk_check/room_check.h"
#include "stagewalk_check/room_walks.h"

#include <algorithm>
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

// "this face" (the one at `line`), "the face at line 7" or "the faces at lines 3, 5 and 7".
std::string Faces(const ObjLayout& layout, const std::vector<size_t>& faces, int line) {
    std::set<int> lines;
    for (size_t face : faces) lines.insert(layout.FaceLine(0, face));
    lines.erase(0);
    if (lines.empty() || (lines.size() == 1 && *lines.begin() == line)) return "this face";
    if (lines.size() == 1) return "the face at line " + std::to_string(*lines.begin());
    std::string text = "the faces at lines ";
    size_t written = 0;
    for (int at : lines) {
        if (written > 0) text += written + 1 == lines.size() ? " and " : ", ";
        text += std::to_string(at);
        ++written;
    }
    return text;
}

// The game's normal points to a face's back.
bool FacesAway(const CollisionTriangle& wall, glm::vec2 heading) {
    return -wall.normal.x * heading.x - wall.normal.z * heading.y > 0.0f;
}

// What turns a sinking seam point solid. A face turned down holds one of its edges where one turned up
// holds two, and is invisible from above besides: turned up it holds the edges the builder's order
// gives. Between faces turned up, turning the corners of one of them round hands it other edges.
std::string SeamAdvice(const RoomWalks& walks, const ObjLayout& layout, const FloorPoint& point, int line) {
    std::vector<size_t> down;
    std::set<int> beside;
    for (size_t face : walks.FloorsMeeting(point.position)) {
        if (!FacesUp(walks.Triangles()[face])) down.push_back(face);
        beside.insert(layout.FaceLine(0, face));
    }
    if (!down.empty()) {
        return "a face there faces down: reverse the corners of " + Faces(layout, down, line) +
               " (f 3 2 1 for f 1 2 3), as of every floor warned to face down";
    }
    beside.erase(line);
    beside.erase(0);
    const std::string which = beside.size() == 1
                                  ? "the one beside it (line " + std::to_string(*beside.begin()) + ")"
                                  : "one beside it";
    return "turn the corners of this face or of " + which + " round (f 2 3 1 for f 1 2 3)";
}

// Runs `walk` on every item in the order of the cells they start in, so that the walks of one
// cell share its mesh (RoomWalks::CellOf); the verdicts come back in the items' order.
template <typename Item, typename Walk>
std::vector<bool> ByCell(const std::vector<Item>& items, RoomWalks& walks, Progress& progress,
                         glm::vec3 (*start)(const Item&), Walk walk) {
    std::vector<std::pair<std::pair<int, int>, size_t>> order;
    for (size_t i = 0; i < items.size(); ++i) {
        const RoomCells::Cell cell = walks.CellOf(start(items[i]));
        order.push_back({{cell.column, cell.row}, i});
    }
    std::sort(order.begin(), order.end());
    std::vector<bool> verdicts(items.size(), false);
    for (const auto& entry : order) {
        verdicts[entry.second] = walk(items[entry.second]);
        progress.Step();
    }
    return verdicts;
}

glm::vec3 ApproachStart(const WallApproach& approach) { return approach.start; }
glm::vec3 PointStart(const FloorPoint& point) { return point.position; }

}  // namespace

void CheckRoomWalks(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
                    Diagnostics& out) {
    if (room.empty()) return;
    const std::vector<float>& positions = room[0]->positions;
    RoomWalks walks(positions);
    std::vector<WallApproach> approaches = walks.PlanApproaches(ApproachSpacing, ApproachesPerPiece);
    const std::vector<WallApproach> corners = walks.PlanCornerApproaches(CornerSpacing);
    approaches.insert(approaches.end(), corners.begin(), corners.end());
    const std::vector<FloorPoint> points = walks.InnerFloorPoints(FloorSpacing);
    Progress progress("walking the player through " + file, approaches.size() + points.size());
    const std::vector<bool> passes = ByCell(approaches, walks, progress, ApproachStart,
                                            [&](const WallApproach& a) { return walks.Passes(a, 1.0f); });
    const std::vector<bool> sinks = ByCell(points, walks, progress, PointStart,
                                           [&](const FloorPoint& p) { return walks.Sinks(p, 1.0f); });

    // One finding per wall piece and per floor face: the first place that fails.
    std::vector<WallApproach> leaks;
    std::set<std::pair<int, bool>> leaking;  // a wall's face, and whether at a corner
    for (size_t i = 0; i < approaches.size(); ++i) {
        const WallApproach& approach = approaches[i];
        const int line = layout.FaceLine(0, approach.triangle);
        const std::pair<int, bool> face(line != 0 ? line : -1 - static_cast<int>(approach.triangle),
                                        approach.corner);
        if (passes[i] && leaking.insert(face).second) leaks.push_back(approach);
    }
    std::set<int> sinking;  // f lines; a polygon's triangles share one
    for (size_t i = 0; i < points.size(); ++i) {
        const FloorPoint& point = points[i];
        const int line = layout.FaceLine(0, point.triangle);
        const int face = line != 0 ? line : -1 - static_cast<int>(point.triangle);
        if (!sinks[i] || !sinking.insert(face).second) continue;
        out.Error(file, line,
                  "a player standing still on this floor at " + ModelPoint(point.position) +
                      " sinks through it: no face holds that point of the seam (the collision counts a point "
                      "on an edge as inside for some edges only, by the order of the corners): " +
                      SeamAdvice(walks, layout, point, line));
    }
    if (leaks.empty()) return;

    // The walls that hold once the floors come first were passed because a landing in the middle
    // of the pass lifted the point the walls test.
    RoomWalks reordered(FloorsFirst(positions, walks));
    const std::string probe =
        "the point " + Number(Application::Movement::WallProbeHeight) + " above the feet";
    const std::vector<CollisionTriangle>& walls = walks.Triangles();
    for (const WallApproach& leak : leaks) {
        std::string why;
        if (!reordered.Passes(leak, 1.0f)) {
            why = "a floor it stands on comes after it in the file, and landing on that floor lifts " +
                  probe + " that walls test past this wall's faces (put the floors before the walls)";
        } else if (leak.corner && (FacesAway(walls[leak.triangle], leak.heading) ||
                                   FacesAway(walls[leak.secondTriangle], leak.heading))) {
            std::vector<size_t> away;
            for (size_t piece : {leak.triangle, leak.secondTriangle}) {
                if (!FacesAway(walls[piece], leak.heading)) continue;
                const std::vector<size_t> faces = walks.PieceOf(piece);
                away.insert(away.end(), faces.begin(), faces.end());
            }
            why =
                "beyond the ends of both walls only an upright edge at the corner holds a player, and only "
                "from in front of its wall: a wall there faces away from this side, where it is not drawn: "
                "reverse the corners of " +
                Faces(layout, away, layout.FaceLine(0, leak.triangle)) + " (f 3 2 1 for f 1 2 3)";
        } else if (leak.corner) {
            why =
                "beyond the ends of both walls only an upright edge at the corner holds a player, and no "
                "face there has one reaching " +
                probe + " (give each wall's faces two corners exactly above one another at the corner point)";
        } else if (FacesAway(walls[leak.triangle], leak.heading)) {
            // Wound the other way, its faces hold other edges: turned to face the player, as they must
            // be to be seen from here, they hold as they were meant to.
            why = probe +
                  " meets none of its faces there, which face away from this side, where they are not "
                  "drawn (the collision counts a point on an edge as inside for some edges only, by the "
                  "order of the corners): reverse the corners of " +
                  Faces(layout, walks.PieceOf(leak.triangle), layout.FaceLine(0, leak.triangle)) +
                  " (f 3 2 1 for f 1 2 3)";
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
                  "a player " + walking + ", at " + std::to_string(Common::StepsPerSecond) +
                      " frames a second, passes through it: " + why);
    }
}

}  // namespace StagewalkCheck
