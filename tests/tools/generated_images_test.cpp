// The committed textures as the game decodes them (SOIL, four channels) and the manifest that lists
// them: the HUD font's cell layout, the crosshair's symmetry, an opaque sky, and a skyline that is
// transparent above its roofs.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tools/generated_assets.h"

namespace {

using AssetTests::DataFile;
using AssetTests::LoadRgba;
using AssetTests::RgbaImage;

constexpr int kCell = 12;

// The ink of one font cell as a string of '#' and '.', row by row.
std::string CellInk(const RgbaImage& font, int byte) {
    std::string ink;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            ink += font.At((byte % 16) * kCell + x, (byte / 16) * kCell + y)[3] ? '#' : '.';
    return ink;
}

class FontSheet : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(font.width, 16 * kCell);
        ASSERT_EQ(font.height, 16 * kCell);
    }
    RgbaImage font = LoadRgba(DataFile("font16.png"));
};

TEST_F(FontSheet, OnlyPrintableAsciiHasInk) {
    for (int byte = 0; byte < 256; ++byte) {
        const bool inked = CellInk(font, byte).find('#') != std::string::npos;
        EXPECT_EQ(inked, byte > 32 && byte < 127) << "byte " << byte;
    }
}

TEST_F(FontSheet, GlyphsAreWhiteWithCoverageInAlpha) {
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < font.width; ++x) {
            const std::uint8_t* p = font.At(x, y);
            if (p[3]) {
                EXPECT_TRUE(p[0] == 255 && p[1] == 255 && p[2] == 255) << x << "," << y;
            }
        }
}

TEST_F(FontSheet, GlyphsFitTheTextAdvanceFromTheLeftOfTheirCell) {
    // Characters are drawn 12 / 1.75 = 6.86 pixels apart: ink beyond column 6 would touch the next one.
    for (int byte = 33; byte < 127; ++byte) {
        const std::string ink = CellInk(font, byte);
        for (int y = 0; y < kCell; ++y)
            for (int x = 7; x < kCell; ++x) EXPECT_EQ(ink[y * kCell + x], '.') << "byte " << byte;
    }
}

TEST_F(FontSheet, DescendersAndCapitalsShareOneBaseline) {
    auto inkRows = [&](int byte) {
        const std::string ink = CellInk(font, byte);
        int first = kCell, last = -1;
        for (int y = 0; y < kCell; ++y)
            if (ink.substr(y * kCell, kCell).find('#') != std::string::npos)
                first = std::min(first, y), last = y;
        return std::make_pair(first, last);
    };
    const int baseline = inkRows('H').second;
    for (char c : std::string("ABEHMXZ0123456789acemnosuvwxz")) EXPECT_EQ(inkRows(c).second, baseline) << c;
    for (char c : std::string("gjpqy")) {
        EXPECT_GT(inkRows(c).second, baseline) << c;
        EXPECT_LT(inkRows(c).second, kCell) << c;
    }
    EXPECT_GE(baseline - inkRows('H').first, 6) << "capitals too small to read";
}

TEST_F(FontSheet, EveryGlyphLooksDifferent) {
    std::set<std::string> seen;
    for (int byte = 33; byte < 127; ++byte)
        EXPECT_TRUE(seen.insert(CellInk(font, byte)).second) << "byte " << byte;
}

TEST(Crosshair, IsSmallMirrorSymmetricAndOutlined) {
    const RgbaImage image = LoadRgba(DataFile("crosshair.png"));
    ASSERT_EQ(image.width, 32);
    ASSERT_EQ(image.height, 32);
    int white = 0, dark = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint8_t* p = image.At(x, y);
            for (const std::uint8_t* mirror : {image.At(31 - x, y), image.At(x, 31 - y), image.At(y, x)})
                for (int c = 0; c < 4; ++c) EXPECT_EQ(p[c], mirror[c]) << x << "," << y;
            if (p[3] == 255 && p[0] == 255) ++white;
            if (p[3] > 0 && p[0] < 64) ++dark;
            const bool nearEdge = x < 4 || y < 4 || x > 27 || y > 27;
            if (nearEdge) {
                EXPECT_EQ(p[3], 0) << "the cross should stay small: " << x << "," << y;
            }
        }
    EXPECT_GT(white, 0);
    EXPECT_GT(dark, white);  // the outline surrounds the white strokes
    EXPECT_EQ(image.At(15, 15)[0] == 255 && image.At(15, 15)[3] == 255, false) << "centre left open";
}

TEST(SkyImage, IsOpaqueEverywhere) {
    const RgbaImage sky = LoadRgba(DataFile("sky.png"));
    ASSERT_GT(sky.width, 0);
    for (int y = 0; y < sky.height; ++y)
        for (int x = 0; x < sky.width; ++x) ASSERT_EQ(sky.At(x, y)[3], 255) << x << "," << y;
}

TEST(CityImage, EachColumnIsClearSkyAboveOneSolidBuildingMass) {
    const RgbaImage city = LoadRgba(DataFile("city_bg.png"));
    ASSERT_GT(city.width, 0);
    for (int x = 0; x < city.width; ++x) {
        // Top and bottom rows are clear: the cylinder repeats vertically, so its top edge blends them.
        EXPECT_EQ(city.At(x, 0)[3], 0);
        EXPECT_EQ(city.At(x, city.height - 1)[3], 0);
        int y = 0;
        while (y < city.height && city.At(x, y)[3] == 0) ++y;
        ASSERT_LT(y, city.height - 1) << "column " << x << " has no building";
        for (; y < city.height - 1; ++y) ASSERT_EQ(city.At(x, y)[3], 255) << "hole at " << x << "," << y;
    }
}

TEST(Manifest, ListsEveryAssetTheGameAsksForWithAnExistingFile) {
    std::ifstream in(DataFile("assets.tml"));
    ASSERT_TRUE(in.good());
    std::string line, kind, name;
    std::vector<std::string> found;
    std::getline(in, line);
    EXPECT_EQ(line, "@ tangly-ml-v-020");
    while (std::getline(in, line)) {
        std::istringstream tokens(line);
        std::string marker, key, value;
        tokens >> marker >> key >> value;
        if (marker == "{") kind = key;
        if (marker == "!" && key == "workdir") {
            EXPECT_EQ(value, "data");
        }
        if (marker == "!" && key == "name") name = value;
        if (marker == "!" && key == "path") {
            EXPECT_TRUE(std::ifstream(DataFile(value)).good()) << value;
            found.push_back(kind + ":" + name);
        }
    }
    for (const char* wanted : {"bitmap:font16", "bitmap:crosshair", "bitmap:cityBg", "bitmap:sky",
                               "model:room2", "model:cylinder", "model:skybox"})
        EXPECT_NE(std::find(found.begin(), found.end(), wanted), found.end()) << wanted;
}

}  // namespace
