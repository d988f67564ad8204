#include "tmxparser/tmx_map.h"

#include <gtest/gtest.h>

namespace {

using TmxParser::TmxMap;

struct TileCase {
    unsigned layer, x, y, expected;
};

class GetTileOnThreeByTwo : public testing::TestWithParam<TileCase> {};

TEST_P(GetTileOnThreeByTwo, ReadsRowMajorOrZeroOutside) {
    TmxMap map(3, 2);
    map.PushLayer({{1, 2, 3, 4, 5, 6}, "ground"});
    map.PushLayer({{7, 8, 9}, "short"});  // fewer tiles than the map size
    const TileCase& c = GetParam();
    EXPECT_EQ(map.GetTile(c.layer, c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cells, GetTileOnThreeByTwo,
                         testing::Values(TileCase{0, 0, 0, 1}, TileCase{0, 2, 1, 6}, TileCase{0, 0, 1, 4},
                                         TileCase{0, 3, 0, 0}, TileCase{0, 0, 2, 0}, TileCase{2, 0, 0, 0},
                                         TileCase{1, 2, 0, 9}, TileCase{1, 0, 1, 0},
                                         TileCase{0, 4294967295u, 4294967295u, 0}));

TEST(TmxMap, IndexThatWouldWrapReadsAsMissing) {
    // 65536 * 65536 wraps to 0 in 32 bits; that cell is not tile 0.
    TmxMap map(65536, 65537);
    map.PushLayer({{11, 12, 13}, "sparse"});
    EXPECT_EQ(map.GetTile(0, 1, 0), 12u);
    EXPECT_EQ(map.GetTile(0, 0, 65536), 0u);
    EXPECT_EQ(map.GetTile(0, 1, 65536), 0u);
}

TEST(TmxMap, FirstPropertyWinsAndKeysMatchExactly) {
    TmxMap map;
    map.PushProperty({"spawn", "first"});
    map.PushProperty({"spawn", "second"});
    map.PushProperty({"Spawn", "upper"});
    EXPECT_EQ(map.GetPropertyValue("spawn"), "first");
    EXPECT_EQ(map.GetPropertyValue("Spawn"), "upper");
    EXPECT_EQ(map.GetPropertyValue("spaw"), "");
    EXPECT_EQ(map.GetPropertyValue("spawn "), "");
    EXPECT_EQ(map.properties.size(), 3u);
}

}  // namespace
