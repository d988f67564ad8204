#include "stagewalk_check/room_walks.h"

#include "application/game.h"
#include "application/player.h"
#include "application/stage.h"
#include "collision/actor.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

namespace StagewalkCheck {

namespace {

using Application::Actor;
namespace Movement = Application::Movement;
using Application::CollisionTriangle;
using Kind = CollisionTriangle::Kind;

constexpr size_t FloatsPerTriangle = 9;
constexpr float Margin = 0.04f;      // the probe must lie this far inside the wall, every way
constexpr float Around = 0.01f;      // how far round a floor point the floor must reach
constexpr float SameHeight = 0.01f;  // floors closer than this in height are one floor
constexpr float StepHeight = 0.3f;   // nothing to land on this far above an approach's floor
constexpr float PathSample = 0.1f;   // spacing of the floor tests along an approach
constexpr float OnLine = 1e-3f;      // a wall through a point passes this close to it
constexpr float StandSteps = 3.0f;
// The landing catches feet up to LandingAbove above a floor.
constexpr float CatchDepth = Application::Movement::LandingAbove + 0.01f;

glm::vec2 XZ(const glm::vec3& v) { return {v.x, v.z}; }

bool Covers(const CollisionTriangle& t, glm::vec2 p) {
    return Actor::PointInTriangle(p, XZ(t.a), XZ(t.b), XZ(t.c));
}

// The floor's plane height at (x, z), as the landing computes it.
float HeightAt(const CollisionTriangle& t, glm::vec2 p) {
    return (t.planeTerm - t.normal.x * p.x - t.normal.z * p.y) / t.normal.y;
}

// Upright walls. A steep face holds a player as a wall by the nearest point of its cut, so neither
// the order of the file nor the corners' order lets a walk through it: it is not walked.
bool IsWall(const CollisionTriangle& t) {
    return t.kind == Kind::XWall || t.kind == Kind::ZWall || t.kind == Kind::DiagonalWall;
}

float Cross(glm::vec2 u, glm::vec2 v) { return u.x * v.y - u.y * v.x; }

// Whether the step from `from` to `to` crosses the segment's line strictly between its ends, or
// (`atEnd2`) at end2 itself, give or take OnLine.
bool Crosses(glm::vec2 from, glm::vec2 to, glm::vec2 end1, glm::vec2 end2, bool atEnd2 = false) {
    const glm::vec2 along = end2 - end1;
    const float before = Cross(along, from - end1), after = Cross(along, to - end1);
    if ((before > 0.0f) == (after > 0.0f) || before == after) return false;
    const glm::vec2 at = from + (to - from) * (before / (before - after));
    const float t = glm::dot(at - end1, along) / glm::dot(along, along);
    return t > 0.0f && (t < 1.0f || (atEnd2 && (t - 1.0f) * glm::length(along) < OnLine));
}

// The mesh's triangles as the collision prepares them, in world units.
std::vector<CollisionTriangle> Prepare(const std::vector<float>& positions) {
    const float scale = Application::Stage::RoomScale;
    std::vector<CollisionTriangle> triangles;
    for (size_t at = 0; positions.size() - at >= FloatsPerTriangle; at += FloatsPerTriangle) {
        const float* p = positions.data() + at;
        triangles.push_back(CollisionTriangle::Prepare(glm::vec3(p[0], p[1], p[2]) * scale,
                                                       glm::vec3(p[3], p[4], p[5]) * scale,
                                                       glm::vec3(p[6], p[7], p[8]) * scale));
    }
    return triangles;
}

template <typename Keep>
std::vector<const CollisionTriangle*> Pick(const std::vector<CollisionTriangle>& triangles, Keep keep) {
    std::vector<const CollisionTriangle*> picked;
    for (const CollisionTriangle& t : triangles)
        if (keep(t)) picked.push_back(&t);
    return picked;
}

}  // namespace

RoomWalks::RoomWalks(const std::vector<float>& room)
    : positions(room),
      triangles(Prepare(positions)),
      floors(Pick(triangles, [](const CollisionTriangle& t) { return t.kind == Kind::Floor; })),
      walls(Pick(triangles, IsWall)),
      cells(triangles, positions),
      trial(positions, Application::Game::StartPosition) {
    // A piece: the wall triangles of one footprint, such as the two halves of a quad.
    for (size_t i = 0; i < triangles.size(); ++i) {
        const CollisionTriangle& t = triangles[i];
        if (IsWall(t)) pieces[std::make_tuple(t.end1.x, t.end1.y, t.end2.x, t.end2.y)].push_back(i);
    }
}

std::vector<float> RoomWalks::FloorsAt(glm::vec2 p) const {
    std::vector<float> heights;
    floors.ForEachNear(p.x, p.y, [&](const CollisionTriangle& t) {
        if (Covers(t, p)) heights.push_back(HeightAt(t, p));
    });
    return heights;
}

bool RoomWalks::OnlyFloorAt(glm::vec2 p, float height) const {
    bool found = false;
    for (float h : FloorsAt(p)) {
        if (std::fabs(h - height) < SameHeight) {
            found = true;
        } else if (h > height && h < height + StepHeight) {
            return false;
        }
    }
    return found;
}

bool RoomWalks::InsideWall(glm::vec2 at, float y, glm::vec2 end1, glm::vec2 end2) const {
    const glm::vec2 along = glm::normalize(end2 - end1);
    bool inside = false;
    walls.ForEachNear(at.x, at.y, [&](const CollisionTriangle& t) {
        if (inside || t.end1 == t.end2) return;
        // Another piece of the same upright plane, through this point.
        const glm::vec2 its = glm::normalize(t.end2 - t.end1);
        if (std::fabs(Cross(its, along)) > OnLine || std::fabs(Cross(its, at - t.end1)) > OnLine) return;
        inside = Actor::PointInTriangle({at.x, y}, {t.a.x, t.a.y}, {t.b.x, t.b.y}, {t.c.x, t.c.y}) ||
                 Actor::PointInTriangle({at.y, y}, {t.a.z, t.a.y}, {t.b.z, t.b.y}, {t.c.z, t.c.y});
    });
    return inside;
}

std::vector<size_t> RoomWalks::FloorsMeeting(const glm::vec3& point) const {
    std::vector<size_t> meeting;
    const glm::dvec2 p(point.x, point.z);
    floors.ForEachNear(point.x, point.z, [&](const CollisionTriangle& t) {
        if (std::fabs(HeightAt(t, XZ(point)) - point.y) >= SameHeight) return;
        // Inside or on the boundary, in double with a little to spare for the float corners.
        const glm::dvec2 a(t.a.x, t.a.z), b(t.b.x, t.b.z), c(t.c.x, t.c.z);
        auto side = [](glm::dvec2 from, glm::dvec2 to, glm::dvec2 q) {
            const glm::dvec2 edge = to - from;
            return (edge.x * (q.y - from.y) - edge.y * (q.x - from.x)) / std::max(glm::length(edge), 1e-30);
        };
        const double s1 = side(a, b, p), s2 = side(b, c, p), s3 = side(c, a, p);
        const double slack = 1e-4;
        if ((s1 >= -slack && s2 >= -slack && s3 >= -slack) || (s1 <= slack && s2 <= slack && s3 <= slack))
            meeting.push_back(static_cast<size_t>(&t - triangles.data()));
    });
    std::sort(meeting.begin(), meeting.end());
    return meeting;
}

std::vector<size_t> RoomWalks::PieceOf(size_t triangle) const {
    const CollisionTriangle& t = triangles[triangle];
    const auto found = pieces.find(std::make_tuple(t.end1.x, t.end1.y, t.end2.x, t.end2.y));
    return found != pieces.end() ? found->second : std::vector<size_t>{triangle};
}

std::vector<RoomWalks::Piece> RoomWalks::Pieces() const {
    std::set<size_t> first;
    for (const auto& piece : pieces) first.insert(piece.second.front());
    std::vector<Piece> found;
    for (size_t i : first) found.push_back({i, triangles[i].end1, triangles[i].end2});
    return found;
}

template <typename Solid>
bool RoomWalks::FreePath(glm::vec2 at, glm::vec2 out, float height, Solid solid) const {
    for (float d = PathSample; d < StartDistance + PathSample; d += PathSample) {
        const glm::vec2 p = at + out * std::min(d, StartDistance);
        if (!solid(p) && !OnlyFloorAt(p, height)) return false;
    }
    return true;
}

std::vector<WallApproach> RoomWalks::PlanApproaches(float spacing, size_t perPiece) const {
    std::vector<WallApproach> approaches;
    for (const Piece& piece : Pieces()) {
        const glm::vec2 end1 = piece.end1, end2 = piece.end2;
        const float length = glm::length(end2 - end1);
        if (!(length > 2.0f * Margin)) continue;
        const glm::vec2 along = (end2 - end1) / length, normal(-along.y, along.x);
        const size_t count = std::min(perPiece, static_cast<size_t>(std::ceil(length / spacing)) - 1);
        for (size_t k = 1; k <= count; ++k) {
            const glm::vec2 at =
                end1 + along * (length * static_cast<float>(k) / static_cast<float>(count + 1));
            for (const float side : {1.0f, -1.0f}) {
                const glm::vec2 out = normal * side, start = at + out * StartDistance;
                for (const float h : FloorsAt(start)) {
                    const float probe = h + Movement::WallProbeHeight;
                    bool stops = true;
                    for (const float across : {-Margin, Margin})
                        for (const float up : {-Margin, Margin})
                            stops = stops && InsideWall(at + along * across, probe + up, end1, end2);
                    if (stops && FreePath(at, out, h, [](glm::vec2) { return false; }))
                        approaches.push_back(
                            {piece.triangle, glm::vec3(start.x, h, start.y), -out, end1, end2});
                }
            }
        }
    }
    return approaches;
}

std::vector<WallApproach> RoomWalks::PlanCornerApproaches(float spacing) const {
    // The pieces leaving each footprint end point, with their far ends.
    const std::vector<Piece> pieces = Pieces();
    std::map<std::pair<float, float>, std::vector<std::pair<size_t, glm::vec2>>> leaving;
    for (size_t i = 0; i < pieces.size(); ++i) {
        leaving[{pieces[i].end1.x, pieces[i].end1.y}].push_back({i, pieces[i].end2});
        leaving[{pieces[i].end2.x, pieces[i].end2.y}].push_back({i, pieces[i].end1});
    }
    std::vector<WallApproach> approaches;
    const int lines = static_cast<int>(std::round(2.0f * CornerReach / spacing));
    for (const auto& [key, meeting] : leaving) {
        const glm::vec2 corner(key.first, key.second);
        for (size_t i = 0; i < meeting.size(); ++i) {
            for (size_t j = i + 1; j < meeting.size(); ++j) {
                const glm::vec2 u = glm::normalize(meeting[i].second - corner);
                const glm::vec2 v = glm::normalize(meeting[j].second - corner);
                const float turn = Cross(u, v);
                if (std::fabs(turn) < OnLine) continue;  // in line: a joint, not a corner
                // The solid lies between u and v, strictly: no third piece may leave the corner
                // outside that angle, where the player would come from.
                auto inside = [&](glm::vec2 w) {
                    return Cross(u, w) * turn > 0.0f && Cross(w, v) * turn > 0.0f;
                };
                bool convex = true;
                for (size_t k = 0; k < meeting.size(); ++k) {
                    const glm::vec2 w = glm::normalize(meeting[k].second - corner);
                    const bool inLine = std::fabs(Cross(w, u)) < OnLine || std::fabs(Cross(w, v)) < OnLine;
                    if (k != i && k != j && !inLine && !inside(w)) convex = false;
                }
                if (!convex) continue;
                const float angle = std::atan2(std::fabs(turn), glm::dot(u, v)),
                            sign = turn > 0.0f ? 1.0f : -1.0f;
                for (const float share : {1.0f / 3.0f, 0.5f, 2.0f / 3.0f}) {
                    const float a = sign * share * angle;
                    const glm::vec2 heading(u.x * std::cos(a) - u.y * std::sin(a),
                                            u.x * std::sin(a) + u.y * std::cos(a));
                    const glm::vec2 across(-heading.y, heading.x);
                    for (int line = 0; line <= lines; ++line) {
                        const glm::vec2 at =
                            corner + across * (spacing * static_cast<float>(line) - CornerReach);
                        const glm::vec2 start = at - heading * StartDistance;
                        for (const float h : FloorsAt(start)) {
                            const float probe = h + Movement::WallProbeHeight;
                            bool stops = true;
                            for (const glm::vec2& far : {meeting[i].second, meeting[j].second}) {
                                const glm::vec2 along = glm::normalize(far - corner);
                                for (const float in : {Margin, 2.0f * Margin})
                                    for (const float up : {-Margin, Margin})
                                        stops =
                                            stops && InsideWall(corner + along * in, probe + up, corner, far);
                            }
                            if (!stops ||
                                !FreePath(at, -heading, h, [&](glm::vec2 p) { return inside(p - corner); }))
                                continue;
                            approaches.push_back({pieces[meeting[i].first].triangle,
                                                  glm::vec3(start.x, h, start.y), heading, meeting[i].second,
                                                  corner, true, meeting[j].second,
                                                  pieces[meeting[j].first].triangle});
                        }
                    }
                }
            }
        }
    }
    return approaches;
}

std::vector<FloorPoint> RoomWalks::InnerFloorPoints(float spacing) const {
    std::vector<FloorPoint> points;
    std::set<std::tuple<float, float, float>> seen;
    for (size_t i = 0; i < triangles.size(); ++i) {
        const CollisionTriangle& t = triangles[i];
        if (t.kind != Kind::Floor) continue;
        const glm::vec2 corners[3] = {XZ(t.a), XZ(t.b), XZ(t.c)};
        for (int e = 0; e < 3; ++e) {
            const glm::vec2 from = corners[e], to = corners[(e + 1) % 3];
            const float pieces = std::min(std::ceil(glm::length(to - from) / spacing), 1e6f);
            const int count = std::max(2, static_cast<int>(pieces));
            for (int k = 0; k < count; ++k) {
                const glm::vec2 p = from + (to - from) * (static_cast<float>(k) / static_cast<float>(count));
                const float h = HeightAt(t, p);
                if (!seen.insert(std::make_tuple(p.x, h, p.y)).second) continue;
                bool inner = true;
                for (int d = 0; d < 8 && inner; ++d) {
                    // Off the axes and diagonals, so the ring's points do not fall on seams.
                    const float angle = 0.1f + static_cast<float>(d) * 0.7853982f;
                    const glm::vec2 q = p + Around * glm::vec2(std::cos(angle), std::sin(angle));
                    inner = false;
                    floors.ForEachNear(q.x, q.y, [&](const CollisionTriangle& u) {
                        inner = inner || (Covers(u, q) && std::fabs(HeightAt(u, p) - h) < SameHeight);
                    });
                }
                if (inner) points.push_back({i, glm::vec3(p.x, h, p.y)});
            }
        }
    }
    return points;
}

bool RoomWalks::UseCellOf(const glm::vec3& start, float dt) {
    // Only a frame of one step can be bounded step by step.
    if (dt != 1.0f) {
        UseWholeRoom();
        return false;
    }
    const RoomCells::Cell wanted = CellOf(start);
    if (!local || !(wanted == cell)) trial.UseGeometry(cells.Positions(wanted));
    local = true;
    cell = wanted;
    return true;
}

void RoomWalks::UseWholeRoom() {
    if (local) trial.UseGeometry(positions);
    local = false;
}

bool RoomWalks::StayedInCell(glm::vec2 from, float speed) const {
    // The step moved the player by its eased velocity (at most `speed` plus two steps of
    // acceleration), and each triangle its pass tested pushed it by at most twice the radius: every
    // place the pass saw it at lies that close to `from`. Inside the square none of the triangles
    // left out could have acted.
    const float reach = speed + 0.05f + 2.0f * RoomCells::Reach * static_cast<float>(trial.TestedCount());
    return cells.Holds(cell, from, reach);
}

bool RoomWalks::WalkApproach(const WallApproach& approach, float dt, bool bounded, bool& crossed) {
    if (!walking) trial.Frame({true});  // W goes down: from the next frame on it is held
    walking = true;
    Application::Player& player = trial.Player();
    player = Application::Player(approach.start);
    player.rotation.y = std::atan2(approach.heading.x, approach.heading.y);
    player.velocity =
        glm::vec3(approach.heading.x, 0.0f, approach.heading.y) * Application::Movement::WalkSpeed;
    player.onGround = true;
    crossed = false;
    for (float walked = 0.0f; walked < WalkSteps; walked += dt) {
        const glm::vec2 before = XZ(player.position);
        const float speed = glm::length(XZ(player.velocity));
        // Round a corner the path turns, and a frame's ends say nothing of where it went between
        // them: a corner walk's frames stop with the walk, so even a stall's frame is only that long.
        trial.Frame({true}, approach.corner ? std::min(dt, WalkSteps - walked) : dt);
        if (bounded && (player.respawns != 0 || !StayedInCell(before, speed))) return false;
        const glm::vec2 after = XZ(player.position);
        crossed = crossed || Crosses(before, after, approach.end1, approach.end2, approach.corner) ||
                  (approach.corner && Crosses(before, after, approach.end3, approach.end2, true));
    }
    return true;
}

bool RoomWalks::Passes(const WallApproach& approach, float dt) {
    bool crossed = false;
    if (UseCellOf(approach.start, dt) && WalkApproach(approach, dt, true, crossed)) return crossed;
    UseWholeRoom();
    WalkApproach(approach, dt, false, crossed);
    return crossed;
}

bool RoomWalks::Stand(const FloorPoint& point, float dt, bool bounded, bool& sank) {
    if (walking) trial.Frame({});
    walking = false;
    Application::Player& player = trial.Player();
    player = Application::Player(point.position);
    player.onGround = true;
    sank = false;
    for (float stood = 0.0f; stood < StandSteps && !sank; stood += dt) {
        const glm::vec2 before = XZ(player.position);
        const float speed = glm::length(XZ(player.velocity));
        trial.Frame({}, dt);
        if (bounded && (player.respawns != 0 || !StayedInCell(before, speed))) return false;
        // A floor close enough below to land on catches the feet: that is standing, not sinking.
        sank = !player.onGround || player.position.y < point.position.y - CatchDepth;
    }
    return true;
}

bool RoomWalks::Sinks(const FloorPoint& point, float dt) {
    bool sank = false;
    if (UseCellOf(point.position, dt) && Stand(point, dt, true, sank)) return sank;
    UseWholeRoom();
    Stand(point, dt, false, sank);
    return sank;
}

}  // namespace StagewalkCheck
