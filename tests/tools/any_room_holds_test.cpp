// Any room holds: the real player, driven through the input state, the virtual gamepad and
// Game::Update as the shell drives it, at 60 and at 10 frames a second, walks at full speed into
// seeded rooms a modeller or the level builder makes: blocks whose sides slope back or overhang by
// 0.5 to 60 degrees from upright and zero-thickness walls leaning the same, with the ground plane
// first or last in the file; built maps of random heights with one-tile walls and corridors and a
// ramp of every rise the builder accepts, walked up beside open sides. No walk ends a frame inside
// solid or behind a wall, and no walk up a ramp stalls.
#include "collision/actor.h"
#include "engine/assets/model_conversion.h"
#include "level_geometry.h"
#include "level_map.h"
#include "movement_trial.h"
#include "stagewalk_check/room_walks.h"
#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using Application::Actor;
namespace Movement = Application::Movement;
constexpr float Scale = 8.0f;  // world units per model unit
constexpr float Spacing = 0.05f;
constexpr float Inside = 0.01f;  // deeper than this into solid is a failure
const float Degree = std::acos(-1.0f) / 180.0f;

struct Walk {
    glm::vec3 start;  // world, feet on a floor
    glm::vec2 heading;
    int steps;
};

// Where a frame may not end: inside solid, or past a wall from the side the walk started on.
using Solid = std::function<bool(const glm::vec3& feet, const glm::vec3& start)>;

struct Room {
    std::string name;
    std::vector<float> positions;  // model units, as the stage collides with them
    std::vector<Walk> walks;
    Solid solid;
    std::vector<size_t> ramps;  // walks up a ramp: they may not stall
};

// Runs every walk of `room` at frames of `dt`; returns how many failed, reporting the first.
int Failures(const Room& room, float dt) {
    MovementFigures::MovementTrial trial(room.positions, glm::vec3(0.0f, 50.0f, 0.0f));
    trial.Frame({true});  // W goes down once: from here on it is held
    int failures = 0;
    std::vector<bool> ramp(room.walks.size(), false);
    for (size_t i : room.ramps) ramp[i] = true;
    for (size_t i = 0; i < room.walks.size(); ++i) {
        const Walk& walk = room.walks[i];
        Application::Player& player = trial.Player();
        player = Application::Player(walk.start);
        player.rotation.y = std::atan2(walk.heading.x, walk.heading.y);
        player.velocity = glm::vec3(walk.heading.x, 0.0f, walk.heading.y) * Application::Movement::WalkSpeed;
        player.onGround = true;
        std::string why;
        for (float walked = 0.0f; walked < static_cast<float>(walk.steps) && why.empty(); walked += dt) {
            trial.Frame({true}, dt);
            if (room.solid(player.position, walk.start)) why = "ends a frame inside solid or behind a wall";
        }
        const glm::vec2 moved(player.position.x - walk.start.x, player.position.z - walk.start.z);
        const float expected = static_cast<float>(walk.steps) * Application::Movement::WalkSpeed;
        if (why.empty() && ramp[i] && glm::dot(moved, walk.heading) < expected - 0.5f)
            why = "stalls on the ramp";
        if (why.empty()) continue;
        if (failures++ == 0) {
            ADD_FAILURE() << room.name << ", dt " << dt << ": the walk from " << walk.start.x << ", "
                          << walk.start.y << ", " << walk.start.z << " heading " << walk.heading.x << ", "
                          << walk.heading.y << " " << why << " at " << player.position.x << ", "
                          << player.position.y << ", " << player.position.z;
        }
    }
    return failures;
}

// Walks square at a face and 40 degrees either way, from points `Spacing` apart along its foot
// from `from` to `to`, `out` (unit, x-z) world units in front of it.
void Approach(Room& room, glm::vec2 from, glm::vec2 to, glm::vec2 normal, float out, float y) {
    const float length = glm::length(to - from);
    for (float along = Spacing / 2; along < length; along += Spacing) {
        const glm::vec2 at = from + (to - from) * (along / length) + normal * out;
        for (const float turn : {0.0f, 40.0f * Degree, -40.0f * Degree}) {
            const glm::vec2 in(-normal.x * std::cos(turn) + normal.y * std::sin(turn),
                               -normal.y * std::cos(turn) - normal.x * std::sin(turn));
            room.walks.push_back({{at.x, y, at.y}, in, 30});
        }
    }
}

// OBJ text: `v` lines from world corners, one `f` line per face.
struct ObjText {
    std::string vertices, faces;
    int count = 0;
    void Face(const std::vector<glm::vec3>& corners) {
        std::string f = "f";
        for (const glm::vec3& c : corners) {
            char line[96];
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\n", c.x / Scale, c.y / Scale, c.z / Scale);
            vertices += line;
            f += " " + std::to_string(++count);
        }
        faces += f + "\n";
    }
};

// A modeller's room: a ground quad, a block whose sides lean `lean` from upright (sloping back when
// positive, overhanging when negative) turned by `yaw`, and a zero-thickness wall leaning the same.
Room ModelledRoom(float lean, float yaw, bool groundLast, std::mt19937& random) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float half = 4.0f + 2.0f * unit(random), slope = std::tan(std::fabs(lean));
    // Heights on the loader's grid of 0.001 model units, so that its snap leaves the block as drawn.
    const float height =
        std::floor((lean > 0.0f ? std::min(16.0f, 0.8f * half / slope) : 16.0f) * 125.0f) / 125.0f;
    const float top = lean > 0.0f ? half - height * slope : half + height * slope;
    const glm::vec2 u(std::cos(yaw), std::sin(yaw)), v(-u.y, u.x), centre(-12.0f, 0.0f);
    auto at = [&](float a, float b, float y) {
        const glm::vec2 p = centre + u * a + v * b;
        return glm::vec3(p.x, y, p.y);
    };
    ObjText obj;
    auto ground = [&] { obj.Face({{-40, 0, -40}, {-40, 0, 40}, {40, 0, 40}, {40, 0, -40}}); };
    if (!groundLast) ground();
    const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};  // counter-clockwise from above
    std::vector<glm::vec3> bottom, roof;
    for (const auto& c : corner) {
        bottom.push_back(at(c[0] * half, c[1] * half, 0.0f));
        roof.push_back(at(c[0] * top, c[1] * top, height));
    }
    obj.Face({roof[3], roof[2], roof[1], roof[0]});
    obj.Face(bottom);
    for (int i = 0; i < 4; ++i) obj.Face({bottom[i], roof[i], roof[(i + 1) % 4], bottom[(i + 1) % 4]});
    // The wall: 12 long, 8 high, its top `8 tan(lean)` over towards +v. Leaning further than the
    // steepest walkable face it is a ramp (and under it a ceiling), and left out.
    const bool wall = std::fabs(lean) < std::atan(1.0f / Movement::WalkableRise);
    const glm::vec2 wallFoot(14.0f, -6.0f);
    auto wallAt = [&](float along, float y) {
        const glm::vec2 p = wallFoot + u * along + v * (y * std::tan(lean));
        return glm::vec3(p.x, y, p.y);
    };
    if (wall) obj.Face({wallAt(0, 0), wallAt(12, 0), wallAt(12, 8), wallAt(0, 8)});
    if (groundLast) ground();

    Room room;
    room.name = "a block and a wall leaning " + std::to_string(lean / Degree) + " degrees, ground " +
                (groundLast ? "last" : "first");
    std::unique_ptr<Engine::ModelData> model(
        Engine::ConvertObjFromMemory(obj.vertices + obj.faces, "room.obj"));
    room.positions = (*model)[0]->positions;
    // Into each side, from 1.5 in front of where it stands at the probe's height.
    const float probe = Movement::WallProbeHeight, probeHalf = half + (top - half) * probe / height;
    for (int i = 0; i < 4; ++i) {
        const glm::vec3 a = at(corner[i][0] * probeHalf, corner[i][1] * probeHalf, 0.0f);
        const glm::vec3 b = at(corner[(i + 1) % 4][0] * probeHalf, corner[(i + 1) % 4][1] * probeHalf, 0.0f);
        const glm::vec2 along = glm::normalize(glm::vec2(b.x - a.x, b.z - a.z));
        Approach(room, {a.x, a.z}, {b.x, b.z}, glm::vec2(along.y, -along.x), 1.5f, 0.0f);
    }
    const glm::vec3 w0 = wallAt(0, probe), w1 = wallAt(12, probe);
    for (const glm::vec2 side : {v, -v})
        if (wall) Approach(room, {w0.x, w0.z}, {w1.x, w1.z}, side, 1.5f, 0.0f);
    room.solid = [=](const glm::vec3& feet, const glm::vec3& start) {
        // In the block: below its roof and inside its sides at the feet's height.
        const glm::vec2 p = glm::vec2(feet.x, feet.z) - centre;
        const float reach = half + (top - half) * feet.y / height - Inside;
        const bool inBlock = feet.y > Inside && feet.y < height - Inside &&
                             std::fabs(glm::dot(p, u)) < reach && std::fabs(glm::dot(p, v)) < reach;
        // Behind the wall: on the other side of its plane from the start, within its length and height.
        auto side = [&](const glm::vec3& q) {
            const float y = q.y + probe;
            return glm::dot(glm::vec2(q.x, q.z) - wallFoot - v * (y * std::tan(lean)), v);
        };
        const float along = glm::dot(glm::vec2(feet.x, feet.z) - wallFoot, u);
        const bool behind = wall && along > 0.0f && along < 12.0f && feet.y + probe < 8.0f &&
                            side(feet) * side(start) < 0.0f && std::fabs(side(feet)) > Inside;
        return inBlock || behind;
    };
    return room;
}

// A built map: ramp strips of every rise the builder accepts over open or lower sides, then random
// heights crossed by a one-tile wall and a one-tile corridor; walked into every wall and corner
// and up and down every ramp.
Room BuiltRoom(std::mt19937& random, const TestSupport::ScratchDir& scratch) {
    const int columns = 20, rows = 14;
    const AssetGenerator::LevelSettings defaults;
    const int mostRise = static_cast<int>(Movement::WalkableRise * defaults.tileSize / defaults.step);
    std::vector<int> heights(columns * rows, 0), shapes(columns * rows, 0);
    auto cell = [&](int c, int r) -> int& { return heights[r * columns + c]; };
    std::uniform_int_distribution<int> low(3, 8), any(1, 12);
    for (int rise = 1; rise <= mostRise; ++rise) {
        const int c = 2 * rise - 1, base = low(random);
        cell(c, 0) = base;
        cell(c, 1) = base;
        shapes[columns + c] = 68;  // rising south
        cell(c, 2) = cell(c, 3) = base + rise;
        if (random() % 2) cell(c + 1, 1) = 1;  // a lower side instead of the void
    }
    for (int r = 4; r < rows; ++r)
        for (int c = 0; c < columns; ++c) cell(c, r) = r == 8 ? 24 : c == 10 ? 2 : any(random);
    for (int r = 5; r < rows; ++r)
        cell(9, r) = cell(11, r) = std::max(cell(9, r), 16);  // the corridor's sides
    cell(3, 11) = 4;                                          // under the spawn point
    std::string h, s;
    for (size_t i = 0; i < heights.size(); ++i) {
        h += (i ? "," : "") + std::to_string(heights[i]);
        s += (i ? "," : "") + std::to_string(shapes[i]);
    }
    auto layer = [](const char* name, const std::string& csv) {
        return std::string("<layer name=\"") + name + "\"><data encoding=\"csv\">" + csv + "</data></layer>";
    };
    const std::string path = scratch.Write(
        "level.tmx", "<map width=\"" + std::to_string(columns) + "\" height=\"" + std::to_string(rows) +
                         "\">" + layer("height", h) + layer("shape", s) +
                         "<objectgroup name=\"objects\"><object id=\"1\" type=\"spawn\" x=\"112\" "
                         "y=\"368\"><point/></object></objectgroup></map>");
    const AssetGenerator::LevelMap map = AssetGenerator::LevelMap::Load(path);
    AssetGenerator::LevelGeometry(map).Build("room").Write(scratch.File("room.obj"));
    std::unique_ptr<Engine::ModelData> model(Engine::ConvertObj(scratch.File("room.obj")));

    Room room;
    room.name = "a built room";
    room.positions = (*model)[0]->positions;
    StagewalkCheck::RoomWalks walks(room.positions);
    std::vector<StagewalkCheck::WallApproach> approaches = walks.PlanApproaches(Spacing, 1000);
    const std::vector<StagewalkCheck::WallApproach> corners = walks.PlanCornerApproaches(Spacing);
    approaches.insert(approaches.end(), corners.begin(), corners.end());
    for (const auto& a : approaches) room.walks.push_back({a.start, a.heading, 20});
    const float tile = static_cast<float>(defaults.tileSize) * Scale;
    for (int rise = 1; rise <= mostRise; ++rise) {
        const float west = static_cast<float>(map.X(2 * rise - 1)) * Scale,
                    foot = static_cast<float>(map.Z(1)) * Scale;
        const float base = static_cast<float>(map.Y(cell(2 * rise - 1, 1))) * Scale;
        const float landing = static_cast<float>(map.Y(cell(2 * rise - 1, 2))) * Scale;
        for (float across = Spacing; across < tile; across += Spacing) {
            room.ramps.push_back(room.walks.size());
            room.walks.push_back({{west + across, base, foot - 1.5f}, {0, 1}, 40});
            room.walks.push_back({{west + across, landing, foot + tile + 3.5f}, {0, -1}, 40});
        }
    }
    room.solid = [map](const glm::vec3& feet, const glm::vec3&) {
        // Below the floor of the tile under the feet, above the facades' bottom.
        const float x = feet.x / Scale, z = feet.z / Scale, y = feet.y / Scale;
        const double size = map.Settings().tileSize;
        const int c = static_cast<int>(std::floor((x - map.X(0)) / size)),
                  r = static_cast<int>(std::floor((z - map.Z(0)) / size));
        const AssetGenerator::LevelCell& at = map.At(c, r);
        if (at.height == 0 || !(y > map.Settings().facadeBottom)) return false;
        double floor = map.Y(at.height);
        if (at.shape == AssetGenerator::Shape::Ramp)  // rising south onto the next row's height
            floor += (map.Y(map.At(c, r + 1).height) - floor) * ((z - map.Z(r)) / size);
        return y < floor - Inside / Scale;
    };
    return room;
}

TEST(AnyRoomHolds, NoWalkPassesAFaceOrEndsInsideSolid) {
    std::mt19937 random(29);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<Room> rooms;
    // Sloping back from 0.5 degrees to 60 (a walkable slope from about 24), overhanging up to the
    // steepest face that is walkable (beyond it the underside is a ceiling, a floor).
    const float steepest = std::atan(1.0f / Movement::WalkableRise);
    for (const float lean : {0.5f, 1.0f, 3.0f, 10.0f, 20.0f, 23.0f, 30.0f, 45.0f, 60.0f})
        rooms.push_back(ModelledRoom(lean * Degree, unit(random) * 6.2831853f, rooms.size() % 2, random));
    for (const float lean : {0.5f, 1.0f, 3.0f, 10.0f, 20.0f}) {
        rooms.push_back(ModelledRoom(-lean * Degree, unit(random) * 6.2831853f, rooms.size() % 2, random));
    }
    rooms.push_back(ModelledRoom(-(steepest - 0.01f), unit(random) * 6.2831853f, false, random));
    const TestSupport::ScratchDir scratch;
    rooms.push_back(BuiltRoom(random, scratch));
    size_t walks = 0;
    for (const Room& room : rooms) {
        walks += room.walks.size();
        for (const float dt : {1.0f, 6.0f}) EXPECT_EQ(Failures(room, dt), 0) << room.name << ", dt " << dt;
    }
    EXPECT_GT(walks, 30000u);
}

}  // namespace
