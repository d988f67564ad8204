// The level's data the builder writes beside the room: the spawn point where the editor puts it and
// facing the way it says, finish rectangles in model units, merged like the floors they mark, and a
// finish tile builds the very room a plain tile of its height does.
#include <gtest/gtest.h>

#include "level_data.h"
#include "level_geometry.h"
#include "level_map.h"
#include "obj_writer.h"
#include "support/scratch_dir.h"

#include <string>

namespace {

using namespace AssetGenerator;

const char* const kSpawn = "<object type=\"spawn\" x=\"16\" y=\"16\"><point/></object>";

// A 3 x 2 map, by default with the spawn point in the middle of its north-west tile.
std::string Map(const std::string& heights, const std::string& shapes, const std::string& spawn = kSpawn,
                const std::string& properties = "", const std::string& tiles = "") {
    return "<map width=\"3\" height=\"2\"" + tiles + "><properties>" + properties +
           "</properties><layer name=\"height\"><data encoding=\"csv\">" + heights +
           "</data></layer><layer name=\"shape\"><data encoding=\"csv\">" + shapes +
           "</data></layer><objectgroup>" + spawn + "</objectgroup></map>";
}

class LevelData : public ::testing::Test {
protected:
    LevelMap Load(const std::string& text) { return LevelMap::Load(scratch.Write("level.tmx", text)); }
    TestSupport::ScratchDir scratch;
};

TEST_F(LevelData, FinishTilesOfOneHeightMergeIntoRectangles) {
    // Two columns of finish tiles, at 4 and 8 steps: one rectangle each.
    const std::string text = MakeLevelData(Load(Map("4,4,8,4,4,8", "0,74,74,0,74,74")), "room2");
    EXPECT_EQ(text,
              "@ tangly-ml-v-020\n"
              "# room2: where the player starts and where runs end, in model units (x from west to east, z "
              "from north to south, y up; yaw in degrees, 0 facing south, 90 east)\n"
              "{ level\n"
              "\t{ spawn\n\t\t! x 0.25\n\t\t! y 0.75\n\t\t! z 0.25\n\t\t! yaw 0\n\t}\n"
              "\t{ finish\n\t\t! west 0.5\n\t\t! east 1\n\t\t! north 0\n\t\t! south 1\n"
              "\t\t! floor 0.5\n\t}\n"
              "\t{ finish\n\t\t! west 1\n\t\t! east 1.5\n\t\t! north 0\n\t\t! south 1\n"
              "\t\t! floor 1\n\t}\n"
              "}\n");
    const std::string none = MakeLevelData(Load(Map("4,4,8,4,4,8", "0,0,0,0,0,0")), "room2");
    EXPECT_EQ(none.substr(none.find("\t}\n")), "\t}\n}\n");
}

TEST_F(LevelData, TheSpawnIsWhereTheEditorPutItFacingTheWayItSays) {
    auto spawnOf = [](const std::string& facing, double x, double y) {
        const std::string property =
            facing.empty() ? ""
                           : "<properties><property name=\"facing\" value=\"" + facing + "\"/></properties>";
        return "<object type=\"spawn\" x=\"" + FormatNumber(x) + "\" y=\"" + FormatNumber(y) + "\">" +
               property + "<point/></object>";
    };
    const struct {
        std::string map;
        std::string spawn;  // its four values: x, y, z, yaw
    } cases[] = {
        {Map("4,4,8,4,4,8", "0,0,0,0,0,0", spawnOf("", 80, 40)), "1.25 1.25 0.625 0"},
        {Map("4,4,8,4,4,8", "0,0,0,0,0,0", spawnOf("east", 0.8, 63)), "0.0125 0.75 0.984375 90"},
        {Map("4,4,4,4,4,4", "0,0,0,0,0,0", spawnOf("North", 16, 16)), "0.25 0.75 0.25 180"},
        {Map("4,4,4,4,4,4", "0,0,0,0,0,0", spawnOf("west", 16, 16)), "0.25 0.75 0.25 270"},
        {Map("4,4,4,4,4,4", "0,0,0,0,0,0", spawnOf("45", 16, 16)), "0.25 0.75 0.25 135"},
        {Map("4,4,4,4,4,4", "0,0,0,0,0,0", spawnOf("-90", 16, 16)), "0.25 0.75 0.25 270"},
        // The map's corner moved, and tiles of 16 pixels a side in the editor.
        {Map("4,4,4,4,4,4", "0,0,0,0,0,0", spawnOf("south", 8, 8),
             "<property name=\"origin-x\" value=\"-3.75\"/><property name=\"origin-z\" value=\"8.125\"/>",
             " tilewidth=\"16\" tileheight=\"16\""),
         "-3.5 0.75 8.375 0"},
    };
    for (const auto& c : cases) {
        const std::string text = MakeLevelData(Load(c.map), "room2");
        std::string values;
        for (const char* key : {"x ", "y ", "z ", "yaw "}) {
            const size_t at = text.find(std::string("! ") + key) + 2 + std::string(key).size();
            values += (values.empty() ? "" : " ") + text.substr(at, text.find('\n', at) - at);
        }
        EXPECT_EQ(values, c.spawn) << c.map;
    }
}

TEST_F(LevelData, AFinishBuildsTheRoomOfAPlainTile) {
    const std::string heights = "4,4,8,4,4,8";
    EXPECT_EQ(LevelGeometry(Load(Map(heights, "0,74,74,0,74,0"))).Build("room2").ToString(),
              LevelGeometry(Load(Map(heights, "0,0,0,0,0,0"))).Build("room2").ToString());
}

TEST(LevelDataPath, IsTheModelsStemBesideIt) {
    EXPECT_EQ(LevelDataPath("room2.obj"), "room2.level.tml");
    EXPECT_EQ(LevelDataPath("game/data/room2.obj"), "game/data/room2.level.tml");
    EXPECT_EQ(LevelDataPath("out/room"), "out/room.level.tml");
}

}  // namespace
