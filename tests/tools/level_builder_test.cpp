// The level builder on small maps: bad maps give one line naming the file once, the layer and the
// tile, and what to change; other spellings of one map build the same room; and good ones give geometry the
// game treats as intended: every wall where floors differ stops a walking player, walls face the lower side,
// coplanar floors are merged and every coordinate survives the OBJ text and the loader's y snap unchanged.
#include <gtest/gtest.h>

#include "collision/actor.h"
#include "engine/assets/model_conversion.h"
#include "level_data.h"
#include "level_error.h"
#include "level_geometry.h"
#include "level_map.h"
#include "obj_writer.h"
#include "stagewalk_check/room_walks.h"
#include "support/scratch_dir.h"
#include "tools/room_mesh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace AssetGenerator;
using AssetTests::WorldTriangle;

// A point object of class "spawn" at pixel (x, y), with one property when `key` is given.
std::string SpawnAt(int id, int x, int y, const std::string& key = "", const std::string& value = "") {
    return "<object id=\"" + std::to_string(id) + "\" type=\"spawn\" x=\"" + std::to_string(x) + "\" y=\"" +
           std::to_string(y) + "\">" +
           (key.empty()
                ? ""
                : "<properties><property name=\"" + key + "\" value=\"" + value + "\"/></properties>") +
           "<point/></object>";
}

// An object layer holding `objects`; by default the spawn point in the middle of the north-west tile.
std::string Objects(const std::string& objects = SpawnAt(1, 16, 16), const std::string& attributes = "") {
    return "<objectgroup name=\"objects\"" + attributes + ">" + objects + "</objectgroup>";
}

std::string MapText(int width, int height, const std::string& heights, const std::string& shapes,
                    const std::string& properties = "", const std::string& extra = "",
                    const std::string& mapAttributes = "", const std::string& data = "encoding=\"csv\"",
                    const std::string& objects = Objects()) {
    auto layer = [&](const char* name, const std::string& csv) {
        return std::string("<layer name=\"") + name + "\"><data " + data + ">" + csv + "</data></layer>";
    };
    return "<map width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) + "\"" +
           mapAttributes + "><properties>" + properties + "</properties>" + extra + layer("height", heights) +
           (shapes.empty() ? "" : layer("shape", shapes)) + objects + "</map>";
}

// A 3 x 2 map at height 4 with the spawn in its north-west tile, some tiles replaced.
std::string Small(const std::string& heights = "4,4,4,4,4,4", const std::string& shapes = "0,0,0,0,0,0",
                  const std::string& properties = "") {
    return MapText(3, 2, heights, shapes, properties);
}

// Small's map with `objects` in its object layer.
std::string SmallWith(const std::string& objects) {
    return MapText(3, 2, "4,4,4,4,4,4", "0,0,0,0,0,0", "", "", "", "encoding=\"csv\"", Objects(objects));
}

// Every shape: ramps up to a ring at 4 steps from all four sides, the ring's corners cut diagonally,
// a block at 8 in its middle, a void corner; the spawn on the floor at 2.
const std::string kAllShapes =
    MapText(7, 5, "2,2,2,2,2,2,2, 2,4,4,4,4,4,2, 2,4,8,8,8,4,2, 2,4,4,4,4,4,2, 2,2,2,2,2,2,0",
            "0,0,0,68,0,0,0, 0,71,0,0,0,72,0, 67,0,0,0,0,0,69, 0,70,0,0,0,73,0, 0,0,0,66,0,0,0");

// A map of `side` x `side` tiles whose heights alternate like a checkerboard: nothing merges.
std::string Checkerboard(int side) {
    std::string heights, shapes;
    for (int i = 0; i < side * side; ++i) {
        heights += std::string(i ? "," : "") + (((i % side) + (i / side)) % 2 ? "2" : "4");
        shapes += i ? ",0" : "0";
    }
    return MapText(side, side, heights, shapes);
}

class LevelBuilder : public ::testing::Test {
protected:
    // Builds `text` as a map file into room2.obj in the scratch folder and reads it back.
    std::vector<WorldTriangle> Build(const std::string& text) {
        const LevelMap map = LevelMap::Load(scratch.Write("level.tmx", text));
        LevelGeometry(map).Build("room2").Write(scratch.File("room2.obj"));
        return AssetTests::LoadRoom(scratch.File("room2.obj"));
    }
    TestSupport::ScratchDir scratch;
};

TEST_F(LevelBuilder, BadMapsNameTheFileTheLayerAndTheTile) {
    const struct {
        const char* what;
        std::string text;
        std::string message;  // after "<path>: "
    } cases[] = {
        {"malformed", "<map", "cannot read the map: Malformed XML"},
        {"layer size", Small("4,4,4,4,4"), "layer 'height': has 5 tiles; the map is 3 x 2 = 6"},
        {"unknown height", Small("4,4,4,4,4,99"), "layer 'height', tile (2,1): unknown tile value 99"},
        {"shape as height", Small("4,67,4,4,4,4"), "layer 'height', tile (1,0): shape tile 67"},
        {"height as shape", Small("4,4,4,4,4,4", "0,0,5,0,0,0"),
         "layer 'shape', tile (2,0): unknown tile value 5"},
        {"flipped", Small("4,4,4,4,4,4", "0,0,0,0,2147483715,0"),
         "layer 'shape', tile (1,1): tile 67 was flipped horizontally in the editor"},
        {"rotated", Small("4,4,4,4,4,4", "0,0,0,0,0,536870979"),
         "layer 'shape', tile (2,1): tile 67 was rotated (flipped diagonally)"},
        {"ramp to nothing", Small("4,4,4,4,4,4", "0,0,67,0,0,0"),
         "layer 'shape', tile (2,0): a ramp rising east with nothing to rise to"},
        {"ramp to lower", Small("4,4,2,4,4,4", "0,67,0,0,0,0"),
         "layer 'shape', tile (1,0): a ramp rising east with nothing to rise to (the tile east of it is not "
         "higher)"},
        {"ramp too steep to walk", Small("4,4,14,4,4,4", "0,67,0,0,0,0"),
         "layer 'shape', tile (1,0): a ramp rising east by 10 steps over one tile, 2.5 per unit across: too "
         "steep to walk (the player walks up at most 2.25 per unit, 9 steps over a tile of 0.5: lower the "
         "tile east of it or raise this one)"},
        {"no spawn", MapText(3, 2, "4,4,4,4,4,4", "", "", "", "", "encoding=\"csv\"", ""),
         "no spawn point: add an object layer (in Tiled: Layer > New > Object Layer) and in it a point"},
        {"two spawns", SmallWith(SpawnAt(1, 16, 16) + SpawnAt(2, 48, 16)),
         "a second spawn point (object 2, object layer 'objects'), besides the spawn point (object 1"},
        {"retired anchor", Small("4,4,4,4,4,4", "0,0,0,0,0,65"),
         "layer 'shape', tile (2,1): tile 65, the anchor, is no longer used"},
        {"spawn over the void", MapText(3, 2, "0,4,4,4,4,4", ""),
         "spawn point (object 1, object layer 'objects'): lies over the void at tile (0,0): put it on a "
         "floor"},
        {"spawn outside", SmallWith(SpawnAt(1, 96, 16)),
         "spawn point (object 1, object layer 'objects'): lies outside the map, at pixel (96,16)"},
        {"spawn on a ramp", MapText(3, 2, "4,8,4,4,4,4", "67,0,0,0,0,0"),
         "spawn point (object 1, object layer 'objects'): stands on a ramp at tile (0,0)"},
        {"spawn on a finish", Small("4,4,4,4,4,4", "74,0,0,0,0,0"),
         "spawn point (object 1, object layer 'objects'): stands on a finish at tile (0,0)"},
        {"spawn polygon",
         SmallWith("<object id=\"1\" name=\"s\" class=\"spawn\" x=\"16\" y=\"16\"><polygon points=\"0,0 "
                   "1,1\"/></object>"),
         "spawn point (object 1 's', object layer 'objects'): is a polygon; make it a point"},
        {"spawn rotated",
         SmallWith("<object id=\"1\" type=\"spawn\" width=\"32\" height=\"32\" rotation=\"45\"/>"),
         "spawn point (object 1, object layer 'objects'): is a rotated rectangle"},
        {"spawn position", SmallWith("<object id=\"1\" type=\"spawn\" x=\"a\"/>"),
         "spawn point (object 1, object layer 'objects'): x is 'a', not a number of pixels"},
        {"facing", SmallWith(SpawnAt(1, 16, 16, "facing", "up")),
         "spawn point (object 1, object layer 'objects'): facing is 'up'; it takes north, east, south, west "
         "or degrees"},
        {"spawn property", SmallWith(SpawnAt(1, 16, 16, "yaw", "0")),
         "spawn point (object 1, object layer 'objects'): unknown property 'yaw'"},
        {"hidden spawn",
         MapText(1, 1, "4", "", "", "", "", "encoding=\"csv\"",
                 Objects(SpawnAt(1, 16, 16), " visible=\"0\"")),
         "spawn point (object 1, object layer 'objects'): its layer is hidden in the editor"},
        {"origin", Small("4,4,4,4,4,4", "0,0,0,0,0,0", "<property name=\"origin-z\" value=\"0.01\"/>"),
         "map property 'origin-z' is '0.01': it takes a multiple of 1/64"},
        {"shape on void", Small("4,4,4,4,0,4", "0,0,0,0,70,0"),
         "layer 'shape', tile (1,1): a shape on the void"},
        {"finish on void", Small("4,4,4,4,4,0", "0,0,0,0,0,74"),
         "layer 'shape', tile (2,1): a finish on the void"},
        {"crossing seam", Small("2,2,8,2,5,8", "0,67,0,0,0,0"),
         "layer 'shape', tile (1,0): meets the tile south"},
        {"too large", MapText(1025, 1, "4", "65"), "the map is 1025 x 1 tiles; levels take 1 to 1024"},
        {"no heights", "<map width=\"1\" height=\"1\"><layer name=\"shape\"><data>0</data></layer></map>",
         "layer 'height': missing"},
        {"bad step", Small("4,4,4,4,4,4", "0,0,0,0,0,0", "<property name=\"step\" value=\"0.1\"/>"),
         "map property 'step' is '0.1'"},
        {"unknown property", Small("4,4,4,4,4,4", "0,0,0,0,0,0", "<property name=\"tilesize\" value=\"1\"/>"),
         "unknown map property 'tilesize'"},
        {"unknown layer", MapText(1, 1, "4", "0", "", "<layer name=\"decor\"><data>0</data></layer>"),
         "layer 'decor': unknown layer"},
        {"control characters", MapText(1, 1, "4", "0", "", "<layer name=\"a\nb\"><data>0</data></layer>"),
         "layer 'a\\nb': unknown layer"},
        {"negative width", MapText(-4, 1, "4", "65"), "the map is -4 x 1 tiles"},
        {"negative tile", Small("4,-1,4,4,4,4"),
         "layer 'height', tile (1,0): tile -1: tile numbers are never"},
        {"empty field", Small("4,4,4,4,,4"), "layer 'height', tile (1,1): an empty field"},
        {"not a number", Small("4,4,x,4,4,4"), "layer 'height', tile (2,0): 'x' is not a tile number"},
        {"out of range", Small("4,4,4,4,4,99999999999"),
         "layer 'height', tile (2,1): 99999999999 is out of range"},
        {"xml layers", MapText(1, 1, "<tile gid=\"4\"/>", "<tile gid=\"1\"/>", "", "", "", ""),
         "layer 'height': stored in Tiled's XML layer format, which the game's map loader does not read (in "
         "Tiled: Map > Map Properties > Tile Layer Format: CSV"},
        {"base64", MapText(1, 1, "eJw=", "eJw=", "", "", "", "encoding=\"base64\" compression=\"zlib\""),
         "layer 'height': stored as base64 (zlib); the game's map loader reads CSV only"},
        {"compressed csv", MapText(1, 1, "4", "0", "", "", "", "encoding=\"csv\" compression=\"gzip\""),
         "layer 'height': has compression=\"gzip\" on CSV tiles"},
        {"cdata", MapText(1, 1, "<![CDATA[4]]>", "65"),
         "layer 'height': its tiles are inside a CDATA section"},
        {"infinite", MapText(1, 1, "<chunk x=\"0\" y=\"0\">4</chunk>", "", "", "", " infinite=\"1\""),
         "the map is infinite, and keeps its layers in chunks, which the game's map loader does not read (in "
         "Tiled: untick Map > Map Properties > Infinite"},
        {"chunks", MapText(1, 1, "<chunk x=\"0\" y=\"0\">4</chunk>", ""), "layer 'height': stored in chunks"},
        {"isometric", MapText(1, 1, "4", "0", "", "", " orientation=\"isometric\""),
         "the map is isometric; levels are orthogonal maps (in Tiled: Map > Map Properties > Orientation"},
        {"hexagonal", MapText(1, 1, "4", "0", "", "", " orientation=\"hexagonal\""), "the map is hexagonal;"},
        {"root", "<tileset name=\"level_tiles\" width=\"1\" height=\"1\"/>",
         "the root element is <tileset>, not <map>"},
        {"second root", Small() + "<map/>", "a second top-level element <map> after <map>"},
        {"layer size",
         MapText(1, 1, "4", "0", "", "<layer name=\"shape\" width=\"2\"><data>0,0</data></layer>"),
         "layer 'shape': is 2 x 1 tiles, but the map is 1 x 1"},
        {"hidden", MapText(1, 1, "4", "", "", "<layer name=\"shape\" visible=\"0\"><data>0</data></layer>"),
         "layer 'shape': is hidden in the editor (visible=\"0\"), but levels build every layer"},
        {"group", MapText(1, 1, "4", "0", "", "<group name=\"g\"/>"), "layer group 'g'"},
        {"utf-16", "\xff\xfe<\0m\0", "the file is UTF-16 text"},
        {"two tile sets", MapText(1, 1, "4", "0", "", "<tileset firstgid=\"1\"/><tileset firstgid=\"81\"/>"),
         "the map has 2 tile sets"},
        {"before the tile set", MapText(1, 1, "4", "0", "", "<tileset firstgid=\"11\"/>"),
         "layer 'height', tile (0,0): tile 4 lies before the tile set, whose first tile is 11"},
        {"too many triangles", Checkerboard(100), "the room would have more than 50000 triangles"},
    };
    for (const auto& c : cases) {
        const std::string path = scratch.Write("bad.tmx", c.text);
        try {
            LevelGeometry(LevelMap::Load(path)).Build("room2");
            ADD_FAILURE() << c.what << ": no error";
        } catch (const LevelError& error) {
            const std::string line = error.what();
            EXPECT_EQ(line.rfind(path + ": " + c.message, 0), 0u) << c.what << ": " << line;
            EXPECT_EQ(line.find(path, 1), std::string::npos) << c.what << ": the path twice: " << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << c.what;
        }
    }
}

TEST_F(LevelBuilder, OtherSpellingsOfAMapBuildTheSameLevel) {
    const std::string plain = Small("4,4,8,4,8,8", "0,0,0,67,0,0");
    const std::string spawn = "<object id=\"1\" class=\"spawn\" x=\"0\" y=\"0\" width=\"32\" height=\"32\"/>";
    const std::string others = Objects("<object id=\"2\" type=\"note\" x=\"1\" y=\"1\"/><object id=\"3\"/>");
    const struct {
        std::string plain, other;
    } cases[] = {
        {plain, "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + plain},
        // A tile set that starts at 11: every stored tile is the level's tile plus 10.
        {plain,
         MapText(3, 2, "14,14,18,14,18,18", "0,0,0,77,0,0", "", "<tileset firstgid=\"11\" source=\"t.tsx\"/>",
                 " orientation=\"orthogonal\" infinite=\"0\"")},
        // Tiled 1.9's class, a rectangle marking the spawn with its centre, objects and images beside it.
        {plain, MapText(3, 2, "4,4,8,4,8,8", "0,0,0,67,0,0", "", "<imagelayer name=\"sketch\"/>" + others, "",
                        "encoding=\"csv\"", Objects(spawn))},
        {plain, MapText(3, 2, "4,4,8,4,8,8", "0,0,0,67,0,0", "", "", "", "encoding=\"csv\"",
                        Objects(SpawnAt(1, 8, 10), " offsetx=\"8\" offsety=\"6\""))},
        // Without its shape layer a map is all full tiles.
        {Small("4,4,8,4,8,8"), MapText(3, 2, "4,4,8,4,8,8", "")},
    };
    auto level = [&](const std::string& text) {
        const LevelMap map = LevelMap::Load(scratch.Write("level.tmx", text));
        return LevelGeometry(map).Build("room2").ToString() + MakeLevelData(map, "room2");
    };
    for (const auto& c : cases) EXPECT_EQ(level(c.other), level(c.plain)) << c.other.substr(0, 60);
    const LevelMap noted = LevelMap::Load(scratch.Write("level.tmx", cases[2].other));
    const std::vector<std::string> notes = {
        scratch.File("level.tmx") +
            ": image layer 'sketch' left out of the level (levels are built from the "
            "tile layers 'height' and 'shape')",
        scratch.File("level.tmx") +
            ": object layer 'objects': 2 objects left out of the level (levels read "
            "one object, the point of class 'spawn')"};
    EXPECT_EQ(noted.Notes(), notes);
}

TEST_F(LevelBuilder, CoplanarFloorsAndStraightWallsAreMerged) {
    const struct {
        std::string text;
        size_t floors, walls;
    } cases[] = {
        {MapText(5, 4, "4,4,4,4,4, 4,4,4,4,4, 4,4,4,4,4, 4,4,4,4,4",
                 "0,0,0,0,0, 0,0,0,0,0, 0,0,0,0,0, 0,0,0,0,0"),
         2, 8},
        // Two floors side by side: the north and south facades change height at the step.
        {MapText(4, 2, "2,2,4,4, 2,2,4,4", "0,0,0,0, 0,0,0,0"), 4, 14},
    };
    for (const auto& c : cases) {
        size_t floors = 0, walls = 0;
        for (const WorldTriangle& t : Build(c.text)) (t.IsWall() ? walls : floors) += 1;
        EXPECT_EQ(floors, c.floors);
        EXPECT_EQ(walls, c.walls);
    }
}

TEST_F(LevelBuilder, WallsFaceTheLowerSide) {
    const std::vector<WorldTriangle> room = Build(kAllShapes);
    int walls = 0;
    for (const WorldTriangle& t : room) {
        if (!t.IsWall()) continue;
        ++walls;
        const glm::vec3 centre = (t.a + t.b + t.c) / 3.0f;
        const glm::vec2 front = glm::normalize(glm::vec2(t.Front().x, t.Front().z));
        // Beside the wall's centre, a little along it so as to stay off the seams between tiles.
        const glm::vec2 at = glm::vec2(centre.x, centre.z) + glm::vec2(-front.y, front.x) * 0.013f;
        EXPECT_GE(AssetTests::HighestFloor(room, at - front * 0.05f), centre.y)
            << centre.x << "," << centre.z;
        EXPECT_LE(AssetTests::HighestFloor(room, at + front * 0.05f), centre.y)
            << centre.x << "," << centre.z;
    }
    EXPECT_GT(walls, 40);
}

TEST_F(LevelBuilder, EveryStepBetweenFloorsStopsAWalkingPlayer) {
    // A player on the lower floor 0.3 from the step (radius 0.5) is pushed back to 0.5 by the wall,
    // along straight seams between flat tiles and across the diagonal half tiles.
    const std::vector<WorldTriangle> room = Build(kAllShapes);
    const LevelMap map = LevelMap::Load(scratch.File("level.tmx"));
    const float s = AssetTests::kRoomScale;
    struct Step {
        glm::vec2 edge, towardsHigher;  // world x-z
        float low;                      // the lower floor, world y
    };
    std::vector<Step> steps;
    for (int r = 0; r < map.Height(); ++r) {
        for (int c = 0; c < map.Width(); ++c) {
            const LevelCell& cell = map.At(c, r);
            const glm::vec2 centre(glm::dvec2(map.X(c) + map.X(c + 1), map.Z(r) + map.Z(r + 1)) * (s / 2.0));
            const float half = s * static_cast<float>(map.Settings().tileSize) / 2;
            if (cell.shape == Shape::Diagonal) {
                // The solid corner lies between the tile's direction and the next one clockwise.
                const glm::vec2 corner[4] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
                steps.push_back({centre, glm::normalize(corner[(cell.direction + 1) % 4]),
                                 s * static_cast<float>(map.Y(2))});
            }
            for (const auto& [dc, dr] : {std::pair{1, 0}, std::pair{0, 1}}) {
                const LevelCell& next = map.At(c + dc, r + dr);
                if (cell.shape == Shape::Full && next.shape == Shape::Full && next.height > 0 &&
                    cell.height != next.height) {
                    const glm::vec2 d(dc, dr), edge = centre + d * half;
                    const bool up = next.height > cell.height;
                    steps.push_back({edge, up ? d : -d,
                                     s * static_cast<float>(map.Y(std::min(cell.height, next.height)))});
                }
            }
        }
    }
    ASSERT_EQ(steps.size(), 16u);
    for (const Step& step : steps) {
        Application::Actor actor;
        actor.radius = 0.5f;
        const glm::vec2 start = step.edge - step.towardsHigher * 0.3f;
        actor.position = {start.x, step.low, start.y};
        for (const WorldTriangle& t : room) actor.CollideTriangle(t.a, t.b, t.c, 1.0f);
        const float distance =
            glm::dot(step.edge - glm::vec2(actor.position.x, actor.position.z), step.towardsHigher);
        EXPECT_NEAR(distance, 0.5f, 1e-4f) << "at " << step.edge.x << "," << step.edge.y;
    }
}

TEST_F(LevelBuilder, EveryShapeHoldsAWalkingAndAStandingPlayer) {
    // Walls square on from both sides and on slants into their convex corners, floor seams at every
    // corner, T-junction and diagonal.
    Build(kAllShapes);
    const std::unique_ptr<Engine::ModelData> room(Engine::ConvertObj(scratch.File("room2.obj")));
    StagewalkCheck::RoomWalks walks((*room)[0]->positions);
    std::vector<StagewalkCheck::WallApproach> approaches = walks.PlanApproaches(0.1f, 1000);
    const std::vector<StagewalkCheck::WallApproach> corners = walks.PlanCornerApproaches(0.05f);
    approaches.insert(approaches.end(), corners.begin(), corners.end());
    const std::vector<StagewalkCheck::FloorPoint> points = walks.InnerFloorPoints(0.05f);
    ASSERT_GT(corners.size(), 400u);
    ASSERT_GT(approaches.size(), 900u);
    ASSERT_GT(points.size(), 5000u);
    int passes = 0, sinks = 0;
    for (const StagewalkCheck::WallApproach& a : approaches) passes += walks.Passes(a, 1.0f) ? 1 : 0;
    for (const StagewalkCheck::FloorPoint& p : points) sinks += walks.Sinks(p, 1.0f) ? 1 : 0;
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(sinks, 0);
}

TEST_F(LevelBuilder, CoordinatesSurviveTheTextAndTheLoadersSnap) {
    Build(kAllShapes);
    for (const AssetTests::Triangle& t : AssetTests::LoadObj(scratch.File("room2.obj")).triangles) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(t.rawY[k], t.p[k].y);
            for (float v : {t.p[k].x, t.p[k].z}) EXPECT_EQ(v * 64.0f, std::floor(v * 64.0f));
        }
    }
}

}  // namespace

namespace {

// A random map as a Tiled user could save it: heights with voids, a few shapes, zero to two spawn
// objects (points or rectangles, some off the map), written in one spelling or another: the tile
// set embedded or external from a random firstgid, the shape layer left out when it is all zeros,
// the class as Tiled 1.9 or other versions write it, another object layer beside the spawn's.
struct RandomMap {
    int width, height;
    std::vector<int> heights, shapes;
    std::vector<std::pair<double, double>> spawns;  // pixels
    bool rectangles;

    explicit RandomMap(std::mt19937& random) {
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        width = 1 + pick(6), height = 1 + pick(6), rectangles = pick(2) == 1;
        for (int i = 0; i < width * height; ++i) {
            heights.push_back(std::array{0, 2, 4, 4, 8}[pick(5)]);
            shapes.push_back(pick(10) == 0 ? 66 + pick(9) : 0);
        }
        for (int n = pick(4) == 0 ? 2 * pick(2) : 1; n > 0; --n) {
            spawns.emplace_back(pick(width * 32 + 8) - 4 + 0.5 * pick(2), pick(height * 32 + 8) - 4);
        }
    }

    std::string Text(std::mt19937& random) const {
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        const int firstgid = pick(2) ? 1 : 1 + pick(200);
        auto csv = [&](const std::vector<int>& tiles) {
            std::string text;
            for (size_t i = 0; i < tiles.size(); ++i)
                text += (i ? "," : "") + std::to_string(tiles[i] ? tiles[i] + firstgid - 1 : 0);
            return text;
        };
        std::string objects;
        for (size_t i = 0; i < spawns.size(); ++i) {
            const std::string kind = pick(2) ? " class=\"spawn\"" : " type=\"spawn\"";
            const std::string at = " x=\"" + FormatNumber(spawns[i].first - (rectangles ? 2 : 0)) +
                                   "\" y=\"" + FormatNumber(spawns[i].second - (rectangles ? 3 : 0)) + "\"";
            objects += "<object id=\"" + std::to_string(i + 1) + "\"" + kind + at +
                       (rectangles ? " width=\"4\" height=\"6\"/>" : "><point/></object>");
        }
        const bool flat = std::all_of(shapes.begin(), shapes.end(), [](int s) { return s == 0; });
        const std::string tileset =
            pick(2) ? "<tileset firstgid=\"" + std::to_string(firstgid) + "\" source=\"l.tsx\"/>"
                    : "<tileset firstgid=\"" + std::to_string(firstgid) + "\" name=\"t\"/>";
        const std::string others =
            pick(2) ? "<objectgroup name=\"notes\"><object id=\"9\" x=\"1\" y=\"1\"/></objectgroup>" : "";
        return "<map width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
               "\" tilewidth=\"32\" tileheight=\"32\">" + tileset +
               "<layer name=\"height\"><data encoding=\"csv\">" + csv(heights) + "</data></layer>" +
               (flat && pick(2)
                    ? ""
                    : "<layer name=\"shape\"><data encoding=\"csv\">" + csv(shapes) + "</data></layer>") +
               others + "<objectgroup name=\"objects\">" + objects + "</objectgroup></map>";
    }
};

}  // namespace

TEST_F(LevelBuilder, RandomMapsBuildAlikeInEverySpellingWithTheSpawnOnAFloor) {
    std::mt19937 random(28);
    int built = 0;
    for (int round = 0; round < 150; ++round) {
        const RandomMap map(random);
        std::string outcome[2];
        for (std::string& result : outcome) {
            const std::string path = scratch.Write("random.tmx", map.Text(random));
            try {
                const LevelMap level = LevelMap::Load(path);
                LevelGeometry(level).Build("room2").Write(scratch.File("room2.obj"));
                result = TestSupport::ReadFile(scratch.File("room2.obj")) + MakeLevelData(level, "room2");
                // The player starts over the floor of its tile, and lands on it.
                const LevelSpawn& spawn = level.Spawn();
                const float floor =
                    AssetTests::HighestFloor(AssetTests::LoadRoom(scratch.File("room2.obj")),
                                             glm::vec2(spawn.x, spawn.z) * AssetTests::kRoomScale);
                EXPECT_EQ(floor,
                          static_cast<float>((spawn.y - LevelMap::kSpawnLift) * AssetTests::kRoomScale))
                    << "round " << round;
            } catch (const LevelError& error) {
                result = error.what();
                EXPECT_EQ(result.rfind(path + ": ", 0), 0u) << result;
                EXPECT_EQ(result.find('\n'), std::string::npos) << result;
            }
        }
        EXPECT_EQ(outcome[0], outcome[1]) << "round " << round;
        built += outcome[0].rfind(scratch.File("random.tmx"), 0) == 0 ? 0 : 1;
    }
    EXPECT_GT(built, 40);
}
