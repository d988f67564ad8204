// Walks the game's own player over a room to find where its collision lets the player through: the
// approaches at full walking speed into every upright wall a player can stand in front of, and the
// points on the seams inside a floor where a player may stand. Planned from the room's triangles
// (world units), then run frame by frame through the real Game. Used by the checker's walk rules and
// by the tests that hold the shipped room to them; single-threaded (the input tables are global).
#pragma once

#include "collision/collision_triangle.h"
#include "movement_trial.h"
#include "stagewalk_check/floor_grid.h"
#include "stagewalk_check/room_cells.h"

#include <glm/glm.hpp>

#include <cstddef>
#include <map>
#include <tuple>
#include <vector>

namespace StagewalkCheck {

// A walk at full speed at upright walls, started standing on a floor whose point 0.25 above the feet
// lies well inside the walls, so the walls must stop it: straight at one wall piece (the triangles
// sharing one footprint), or on a slant into a convex corner where two pieces meet.
struct WallApproach {
    size_t triangle = 0;               // the first triangle of the (first) piece
    glm::vec3 start{0.0f};             // the feet, on the floor, StartDistance back from the wall
    glm::vec2 heading{0.0f};           // x-z, unit length
    glm::vec2 end1{0.0f}, end2{0.0f};  // the piece's footprint (x, z); at a corner end2 is the corner
    bool corner = false;               // into a corner: the second piece runs from end2 to end3
    glm::vec2 end3{0.0f};
    size_t secondTriangle = 0;  // the first triangle of the second piece
};

// A point on an edge of a floor triangle with floor of the same height all round it.
struct FloorPoint {
    size_t triangle = 0;  // the triangle whose edge it was taken from
    glm::vec3 position{0.0f};
};

class RoomWalks {
public:
    static constexpr float StartDistance = 1.5f;  // world units in front of the wall
    static constexpr float WalkSteps = 20.0f;     // 60-Hz steps of an approach: to the wall and 1.5 on
    static constexpr float CornerReach = 0.5f;    // the player's radius: closer lines meet the corner

    // `positions`: the room's first mesh in model units, as the stage collides with it.
    explicit RoomWalks(const std::vector<float>& positions);

    // Approaches `spacing` apart along every piece, at most `perPiece` of them for a piece.
    std::vector<WallApproach> PlanApproaches(float spacing, size_t perPiece) const;
    // Approaches into every convex corner where two pieces' footprints meet end to end, on slants of
    // a third, a half and two thirds of the corner's angle from either piece, along lines `spacing`
    // apart that pass within CornerReach of the corner point.
    std::vector<WallApproach> PlanCornerApproaches(float spacing) const;
    // The floor's corners, the middles of its edges and points `spacing` apart along them, where
    // floor of the same height surrounds them.
    std::vector<FloorPoint> InnerFloorPoints(float spacing) const;

    // Walks the approach at full speed, W held, in frames of `dt` (60-Hz frames) until WalkSteps
    // steps have passed; true when the player crossed the wall's footprint between its ends (at a
    // corner: either piece's, or the corner point).
    bool Passes(const WallApproach& approach, float dt);
    // Stands the player at the point for three steps in frames of `dt`; true when it was not
    // standing at the end of a frame, or ended lower than a landing catches.
    bool Sinks(const FloorPoint& point, float dt);
    // In frames of one step, walks and stands collide only with the triangles around where they
    // start (RoomCells), whose cost does not grow with the room; a walk that strays too far for
    // them to tell is walked again in the whole room. Walks from one cell in a row share its mesh.
    RoomCells::Cell CellOf(const glm::vec3& start) const { return cells.CellOf({start.x, start.z}); }

    // The floors at the point's height whose edges or corners hold it (x-z, closed), by index.
    std::vector<size_t> FloorsMeeting(const glm::vec3& point) const;
    // The triangles of the wall piece (the same footprint) that `triangle` belongs to, in file order.
    std::vector<size_t> PieceOf(size_t triangle) const;

    const std::vector<Application::CollisionTriangle>& Triangles() const { return triangles; }

private:
    struct Piece {
        size_t triangle;       // its first triangle
        glm::vec2 end1, end2;  // its footprint
    };
    std::vector<Piece> Pieces() const;
    std::vector<float> FloorsAt(glm::vec2 p) const;     // heights of the floors over (x, z)
    bool OnlyFloorAt(glm::vec2 p, float height) const;  // a floor there at `height`, none just above
    bool InsideWall(glm::vec2 at, float y, glm::vec2 end1, glm::vec2 end2) const;
    // Whether floor at `height` alone lies under the points PathSample apart from `at` out along
    // `out` to StartDistance, leaving out those that `solid` says lie behind the walls.
    template <typename Solid>
    bool FreePath(glm::vec2 at, glm::vec2 out, float height, Solid solid) const;
    // Makes the trial collide with the cell around `start` (false when frames of `dt` cannot be
    // bounded: then with the whole room), or with the whole room.
    bool UseCellOf(const glm::vec3& start, float dt);
    void UseWholeRoom();
    // Whether the step just taken from `from` at `speed` (x-z) stayed inside the current cell's square.
    bool StayedInCell(glm::vec2 from, float speed) const;
    // The walks themselves; false when `bounded` and the player strayed from the cell.
    bool WalkApproach(const WallApproach& approach, float dt, bool bounded, bool& crossed);
    bool Stand(const FloorPoint& point, float dt, bool bounded, bool& sank);

    std::vector<float> positions;                           // the room, model units
    std::vector<Application::CollisionTriangle> triangles;  // never changed: the grids point into it
    FloorGrid floors;                                       // the floors by where they lie
    FloorGrid walls;                                        // the walls by their footprints' boxes
    RoomCells cells;
    std::map<std::tuple<float, float, float, float>, std::vector<size_t>> pieces;  // by footprint
    MovementFigures::MovementTrial trial;
    bool walking = false;  // W is held in the trial
    bool local = false;    // the trial collides with `cell`'s triangles only
    RoomCells::Cell cell;
};

}  // namespace StagewalkCheck
