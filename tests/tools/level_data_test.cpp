// The level's data the builder writes beside the room: finish rectangles in model units, merged like
// the floors they mark, and a finish tile builds the very room a plain tile of its height does.
#include <gtest/gtest.h>

#include "level_data.h"
#include "level_geometry.h"
#include "level_map.h"
#include "support/scratch_dir.h"

#include <string>

namespace {

using namespace AssetGenerator;

// A 3 x 2 map with the anchor in its north-west corner.
std::string Map(const std::string& heights, const std::string& shapes) {
    return "<map width=\"3\" height=\"2\"><layer name=\"height\"><data encoding=\"csv\">" + heights +
           "</data></layer><layer name=\"shape\"><data encoding=\"csv\">" + shapes + "</data></layer></map>";
}

class LevelData : public ::testing::Test {
protected:
    LevelMap Load(const std::string& text) { return LevelMap::Load(scratch.Write("level.tmx", text)); }
    TestSupport::ScratchDir scratch;
};

TEST_F(LevelData, FinishTilesOfOneHeightMergeIntoRectangles) {
    // Two columns of finish tiles, at 4 and 8 steps: one rectangle each.
    const std::string text = MakeLevelData(Load(Map("4,4,8,4,4,8", "65,74,74,0,74,74")), "room2");
    EXPECT_EQ(text,
              "@ tangly-ml-v-020\n"
              "# room2: where runs end, in model units (x from west to east, z from north to south, y of the "
              "floor)\n"
              "{ level\n"
              "\t{ finish\n\t\t! west 0.25\n\t\t! east 0.75\n\t\t! north -2.125\n\t\t! south -1.125\n"
              "\t\t! floor 0.5\n\t}\n"
              "\t{ finish\n\t\t! west 0.75\n\t\t! east 1.25\n\t\t! north -2.125\n\t\t! south -1.125\n"
              "\t\t! floor 1\n\t}\n"
              "}\n");
    const std::string none = MakeLevelData(Load(Map("4,4,8,4,4,8", "65,0,0,0,0,0")), "room2");
    EXPECT_EQ(none.substr(none.find("{ level")), "{ level\n}\n");
}

TEST_F(LevelData, AFinishBuildsTheRoomOfAPlainTile) {
    const std::string heights = "4,4,8,4,4,8";
    EXPECT_EQ(LevelGeometry(Load(Map(heights, "65,74,74,0,74,0"))).Build("room2").ToString(),
              LevelGeometry(Load(Map(heights, "65,0,0,0,0,0"))).Build("room2").ToString());
}

TEST(LevelDataPath, IsTheModelsStemBesideIt) {
    EXPECT_EQ(LevelDataPath("room2.obj"), "room2.level.tml");
    EXPECT_EQ(LevelDataPath("game/data/room2.obj"), "game/data/room2.level.tml");
    EXPECT_EQ(LevelDataPath("out/room"), "out/room.level.tml");
}

}  // namespace
