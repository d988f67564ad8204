// The drawing facade against real pixels: sprite placement and orientation, bitmap-font cells and
// advance, the upright canvas, the untextured triangle and the glyph-grid cache.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/glyph_grid.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using TestSupport::Rgba;
using GraphicsTest = GraphicsTesting::DrawingTest;

const Rgba kBlank{0, 0, 0, 0};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};

// A 256 x 256 font sheet whose cell (column, row) is filled with (column * 16, row * 16, 200).
Rgba Cell(int column, int row) { return Rgba{uint8_t(column * 16), uint8_t(row * 16), 200, 255}; }
std::unique_ptr<Engine::Texture> CellCodedFont() {
    return GraphicsTesting::MakeTexture(256, 256, [](int x, int y) { return Cell(x / 16, y / 16); });
}

TEST_F(GraphicsTest, SpriteCoversItsTextureSizeUpright) {
    // Quadrants: red top left, green top right, blue bottom left, white bottom right.
    auto texture = GraphicsTesting::MakeTexture(
        32, 16, [](int x, int y) { return y < 8 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kWhite); });
    graphics->DrawSprite(texture.get(), 10, 20, 1, 1);
    struct Probe {
        int x, y;
        Rgba expected;
    };
    for (const Probe& p :
         {Probe{10, 20, kRed}, Probe{41, 20, kGreen}, Probe{10, 35, kBlue}, Probe{41, 35, kWhite},
          Probe{9, 20, kBlank}, Probe{42, 20, kBlank}, Probe{10, 19, kBlank}, Probe{10, 36, kBlank}}) {
        EXPECT_EQ(At(p.x, p.y), p.expected) << "at (" << p.x << ", " << p.y << ")";
    }
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
}

TEST_F(GraphicsTest, SpriteRegionMapsTheSourceRectangleOntoTheDestination) {
    auto texture = GraphicsTesting::MakeTexture(4, 4, [](int x, int y) {
        return Rgba{uint8_t(x * 60), uint8_t(y * 60), 0, 255};
    });
    graphics->DrawSpriteRegion(texture.get(), 1, 2, 2, 1, 4, 4, 16, 8);
    EXPECT_EQ(At(4, 4), (Rgba{60, 120, 0, 255}));
    EXPECT_EQ(At(19, 11), (Rgba{120, 120, 0, 255}));
    EXPECT_EQ(At(20, 4), kBlank);
}

TEST_F(GraphicsTest, TextDrawsTheCellOfEachByte) {
    auto font = CellCodedFont();
    struct Case {
        std::string text;
        int column, row;
    };
    for (const Case& c : {Case{"A", 1, 4}, Case{"\xff", 15, 15}, Case{std::string(1, '\0'), 0, 0},
                          Case{"\n", 10, 0}, Case{"~", 14, 7}}) {
        graphics->Clear(Engine::Color(0, 0, 0, 0));
        graphics->DrawText(font.get(), c.text, 20, 30);
        EXPECT_EQ(At(20, 30), Cell(c.column, c.row)) << int(uint8_t(c.text[0]));
        EXPECT_EQ(At(35, 45), Cell(c.column, c.row));
        EXPECT_EQ(At(36, 40), kBlank);
        EXPECT_EQ(At(19, 40), kBlank);
    }
}

TEST_F(GraphicsTest, TextAdvancesByCellWidthOverOnePointSevenFive) {
    auto font = CellCodedFont();
    graphics->DrawText(font.get(), "AB", 0, 0);
    // The second cell spans 16 / 1.75 = 9.14 px to 25.14 px and is drawn over the first.
    EXPECT_EQ(At(8, 8), Cell(1, 4));
    EXPECT_EQ(At(9, 8), Cell(2, 4));
    EXPECT_EQ(At(24, 8), Cell(2, 4));
    EXPECT_EQ(At(25, 8), kBlank);
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
}

TEST_F(GraphicsTest, EmptyTextAndNullArgumentsDrawNothing) {
    auto font = CellCodedFont();
    graphics->DrawText(nullptr, "A", 0, 0);
    graphics->DrawSprite(nullptr, 0, 0, 1, 1);
    graphics->DrawSpriteRegion(nullptr, 0, 0, 1, 1, 0, 0, 10, 10);
    graphics->DrawCanvas(nullptr, 0, 0, 1, 1);
    graphics->DrawModel(nullptr, std::vector<Engine::Texture*>{});
    EXPECT_EQ(graphics->transform.GetStackLength(), 0u);
    graphics->DrawText(font.get(), "", 0, 0);
    EXPECT_EQ(graphics->transform.GetStackLength(), 1u);  // pushed and popped
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
    EXPECT_EQ(At(0, 0), kBlank);
}

TEST_F(GraphicsTest, CanvasIsShownUpright) {
    auto red = GraphicsTesting::SolidTexture(kSize, kSize / 2, kRed);
    auto blue = GraphicsTesting::SolidTexture(kSize / 4, kSize / 2, kBlue);
    graphics->DrawSprite(red.get(), 0, 0, 1, 1);           // top half
    graphics->DrawSprite(blue.get(), 0, kSize / 2, 1, 1);  // left quarter of the bottom half

    Engine::Canvas target(kSize * 2, kSize * 2);
    graphics->BindCanvas(&target);
    graphics->Clear(Engine::Color(0, 0, 0, 0));
    graphics->transform.Ortho(kSize * 2, kSize * 2);
    graphics->DrawCanvas(canvas.get(), 8, 4, 1.5f, 1.5f);  // 96 x 96 at (8, 4)
    const int h = kSize * 2;
    EXPECT_EQ(At(8, 4, h), kRed);
    EXPECT_EQ(At(103, 51, h), kRed);
    EXPECT_EQ(At(31, 99, h), kBlue);
    EXPECT_EQ(At(32, 99, h), kBlank);
    EXPECT_EQ(At(104, 4, h), kBlank);
    EXPECT_EQ(At(8, 100, h), kBlank);
}

TEST_F(GraphicsTest, TriangleUsesTheTintAndRestoresTexturing) {
    for (const bool texturing : {true, false}) {
        graphics->Clear(Engine::Color(0, 0, 0, 0));
        graphics->effect.SetTexturesEnabled(texturing);
        graphics->effect.SetTintColor(0.0f, 1.0f, 0.0f, 1.0f);
        // The triangle binds texture name 0, which has no image: a textured draw would be black.
        graphics->DrawTriangle(0, 0, 40, 0, 0, 40);
        EXPECT_EQ(At(5, 5), kGreen);
        EXPECT_EQ(At(30, 30), kBlank);
        EXPECT_EQ(graphics->effect.SetTexturesEnabled(true), texturing);
    }
}

TEST_F(GraphicsTest, GlyphGridsAreCachedBySizeWithOneBufferPerCell) {
    Engine::GlyphGrid* font = graphics->GetGlyphGrid(16, 16);
    EXPECT_EQ(graphics->GetGlyphGridCount(), 1u);
    EXPECT_EQ(font->GetCellBufferCount(), 256u);
    Engine::GlyphGrid* small = graphics->GetGlyphGrid(8, 8);
    EXPECT_EQ(graphics->GetGlyphGridCount(), 2u);
    EXPECT_EQ(small->GetCellBufferCount(), 64u);
    EXPECT_EQ(graphics->GetGlyphGrid(8, 8), small);

    // Cell (3, 1) of a 4 x 2 grid shows u 0.75..1, v 0.5..1.
    float uvs[8] = {};
    glBindBuffer(GL_ARRAY_BUFFER, graphics->GetGlyphGrid(4, 2)->GetCellBuffer(3, 1));
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(uvs), uvs);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    const float expected[8] = {0.75f, 0.5f, 1, 0.5f, 1, 1, 0.75f, 1};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(uvs[i], expected[i]) << i;
    EXPECT_EQ(small->GetCellBuffer(8, 0), 0u);
}

}  // namespace
