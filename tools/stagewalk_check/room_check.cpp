#include "stagewalk_check/room_check.h"

#include "application/game.h"
#include "application/player.h"
#include "application/stage.h"
#include "application/vpad.h"
#include "collision/actor.h"
#include "collision/collision_triangle.h"
#include "stagewalk_check/floor_grid.h"
#include "stagewalk_check/walk_check.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace StagewalkCheck {

namespace {

using Application::CollisionTriangle;

constexpr size_t FloatsPerTriangle = 9;
// Ten seconds of frames: a fall from any height the game can reach hits the respawn depth sooner.
constexpr int SpawnFallFrames = 600;

glm::vec3 Corner(const std::vector<float>& positions, size_t at) {
    return glm::vec3(positions[at], positions[at + 1], positions[at + 2]) * Application::Stage::RoomScale;
}

bool Finite(const glm::vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// A face turned down is fine where it is a ceiling (a floor lies below it to look down on) or the
// underside of a slab (a floor lies on it or just above, too close for anyone to stand between).
bool HiddenFloor(const CollisionTriangle& down, const FloorGrid& upFloors) {
    const glm::vec3 centre = (down.a + down.b + down.c) / 3.0f;
    bool hidden = true;
    upFloors.ForEachNear(centre.x, centre.z, [&](const CollisionTriangle& other) {
        if (!hidden || !CoversFromAbove(other, centre)) return;
        const float height = FloorHeightAt(other, centre.x, centre.z);
        // Below: a ceiling. On it or just above: an underside, since nobody fits in between.
        if (height <= centre.y + Application::Movement::EyeHeight) hidden = false;
    });
    return hidden;
}

// The floors that face up, found under a point through a grid: every face turned down asks for them.
FloorGrid UpFloors(const std::vector<CollisionTriangle>& triangles) {
    std::vector<const CollisionTriangle*> up;
    for (const CollisionTriangle& t : triangles) {
        if (FacesUp(t)) up.push_back(&t);
    }
    return FloorGrid(up);
}

std::string Point(const glm::vec3& p) {
    return "(" + Number(p.x) + ", " + Number(p.y) + ", " + Number(p.z) + ")";
}

// Drops the real player from the spawn point through the real collision until it lands, or falls
// past the depth at which the game puts it back where it started.
bool LandsFromSpawn(const std::vector<float>& positions, const glm::vec3& spawn) {
    Application::Vpad::Init();
    Application::Player player(spawn);
    for (int frame = 0; frame < SpawnFallFrames; ++frame) {
        player.Actor::Update(1.0f);
        Application::Stage::CollideWithTriangles(&player, positions, 1.0f);
        if (player.onGround) return true;
        if (!(player.position.y >= Application::Movement::RespawnDepth)) return false;
    }
    return false;
}

// What is wrong with one face, or nothing; `warning` tells the severity.
const char* FaceProblem(const CollisionTriangle& t, bool collided, const FloorGrid& upFloors, bool& warning) {
    warning = false;
    if (!Finite(t.a) || !Finite(t.b) || !Finite(t.c)) {
        return "a corner of this face is not a finite number: it cannot be drawn or collided with";
    }
    if (!Finite(t.normal)) {
        return "this face has no area (its corners lie on one line once heights are rounded down to 0.001), "
               "so its normal is not a number: it is neither drawn nor collided with";
    }
    if (!collided || t.kind != CollisionTriangle::Kind::Floor) return nullptr;
    warning = true;
    if (!FacesUp(t) && HiddenFloor(t, upFloors)) {
        return "this floor faces down (its corners run clockwise seen from above): the player stands on it, "
               "but it is invisible from above (reverse its corners)";
    }
    return nullptr;
}

void CheckFaces(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
                Diagnostics& out) {
    for (size_t mesh = 0; mesh < room.size(); ++mesh) {
        const std::vector<CollisionTriangle> triangles = PreparedTriangles(*room[mesh]);
        const FloorGrid upFloors = UpFloors(triangles);
        const char* previous = nullptr;  // a polygon's triangles share a line: one finding per line
        int previousLine = -1;
        for (size_t i = 0; i < triangles.size(); ++i) {
            bool warning = false;
            const char* problem = FaceProblem(triangles[i], mesh == 0, upFloors, warning);
            const int line = layout.FaceLine(mesh, i);
            if (problem == nullptr || (problem == previous && line == previousLine && line != 0)) continue;
            previous = problem;
            previousLine = line;
            const std::string message = problem;
            if (warning) {
                out.Warning(file, line, message);
            } else {
                out.Error(file, line, message);
            }
        }
    }
}

}  // namespace

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value == 0.0 ? 0.0 : value);
    return text;
}

std::vector<CollisionTriangle> PreparedTriangles(const Engine::MeshData& mesh) {
    std::vector<CollisionTriangle> triangles;
    const std::vector<float>& p = mesh.positions;
    for (size_t at = 0; p.size() - at >= FloatsPerTriangle; at += FloatsPerTriangle) {
        triangles.push_back(CollisionTriangle::Prepare(Corner(p, at), Corner(p, at + 3), Corner(p, at + 6)));
    }
    return triangles;
}

// The game's normal is (c - a) x (b - a); the drawn front face, counter-clockwise on screen, has the
// opposite normal. So a floor seen from above has a negative normal y here.
bool FacesUp(const CollisionTriangle& t) {
    return t.kind == CollisionTriangle::Kind::Floor && t.normal.y < 0.0f;
}

float FloorHeightAt(const CollisionTriangle& t, float x, float z) {
    return (t.planeTerm - t.normal.x * x - t.normal.z * z) / t.normal.y;
}

bool CoversFromAbove(const CollisionTriangle& t, const glm::vec3& p) {
    return Application::Actor::PointInTriangle({p.x, p.z}, {t.a.x, t.a.z}, {t.b.x, t.b.z}, {t.c.x, t.c.z});
}

void CheckRoom(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
               Diagnostics& out) {
    CheckRoom(room, layout, file, Application::Game::StartPosition, out);
}

void CheckRoom(const Engine::ModelData& room, const ObjLayout& layout, const std::string& file,
               const glm::vec3& spawn, Diagnostics& out) {
    if (room.empty()) return;  // reported with the asset files
    CheckFaces(room, layout, file, out);
    for (size_t mesh = 1; mesh < room.size(); ++mesh) {
        const std::string name = layout.ObjectName(mesh);
        out.Error(file, layout.ObjectLine(mesh),
                  "object " + Quote(name.empty() ? "#" + std::to_string(mesh + 1) : name) +
                      " is drawn but never collided with: the game collides with the room's first object "
                      "only (join the objects into one)");
    }
    CheckRoomWalks(room, layout, file, out);
    if (!LandsFromSpawn(room[0]->positions, spawn)) {
        out.Error(file, 0,
                  "no floor below the spawn point " + Point(spawn) + ", at " +
                      Point(spawn / Application::Stage::RoomScale) +
                      " in model units: the player falls until the respawn, for ever");
    }
}

}  // namespace StagewalkCheck
