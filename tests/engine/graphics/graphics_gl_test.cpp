// The drawing facade against real pixels: sprite placement and orientation, bitmap-font cells and
// advance, the upright canvas, the untextured triangle and the glyph-grid cache.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/glyph_grid.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using GraphicsTesting::DrawingTest;
using GraphicsTesting::Near;
using TestSupport::Rgba;

const Rgba kBlank{0, 0, 0, 0};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};

// Quadrants of a texture: red top left, green top right, blue bottom left, white bottom right.
Rgba Quadrant(int x, int y, int width, int height) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    if (!bottom) return right ? kGreen : kRed;
    return right ? kWhite : kBlue;
}

// A 256 x 256 font sheet whose cell (column, row) is filled with (column * 16, row * 16, 200).
std::unique_ptr<Engine::Texture> CellCodedFont() {
    return GraphicsTesting::MakeTexture(256, 256, [](int x, int y) {
        return Rgba{static_cast<uint8_t>((x / 16) * 16), static_cast<uint8_t>((y / 16) * 16), 200, 255};
    });
}

Rgba CellColor(int column, int row) {
    return Rgba{static_cast<uint8_t>(column * 16), static_cast<uint8_t>(row * 16), 200, 255};
}

using GraphicsTest = DrawingTest;

TEST_F(GraphicsTest, SpriteCoversItsTextureSizeAtThePosition) {
    auto texture = GraphicsTesting::MakeTexture(32, 16, [](int x, int y) { return Quadrant(x, y, 32, 16); });
    graphics->DrawSprite(texture.get(), 10, 20, 1, 1);

    struct Probe {
        int x, y;
        Rgba expected;
    };
    const Probe probes[] = {
        {10, 20, kRed},   {41, 20, kGreen}, {10, 35, kBlue},  {41, 35, kWhite},  // corners inside
        {9, 20, kBlank},  {42, 20, kBlank}, {10, 19, kBlank}, {10, 36, kBlank},  // just outside
        {42, 36, kBlank},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(At(probe.x, probe.y), probe.expected) << "at (" << probe.x << ", " << probe.y << ")";
    }
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
}

TEST_F(GraphicsTest, SpriteScaleMultipliesTheTextureSize) {
    auto texture = GraphicsTesting::SolidTexture(8, 4, kGreen);
    graphics->DrawSprite(texture.get(), 0, 0, 2, 3);
    EXPECT_EQ(At(15, 11), kGreen);
    EXPECT_EQ(At(16, 0), kBlank);
    EXPECT_EQ(At(0, 12), kBlank);
}

TEST_F(GraphicsTest, SpriteRegionShowsTheSourceRectangleInTheDestination) {
    // Column x, row y of a 4 x 4 texture has colour (x * 60, y * 60, 0).
    auto texture = GraphicsTesting::MakeTexture(
        4, 4, [](int x, int y) { return Rgba{uint8_t(x * 60), uint8_t(y * 60), 0, 255}; });
    graphics->DrawSpriteRegion(texture.get(), 1, 2, 2, 1, 4, 4, 16, 8);
    EXPECT_EQ(At(4, 4), (Rgba{60, 120, 0, 255}));
    EXPECT_EQ(At(19, 11), (Rgba{120, 120, 0, 255}));
    EXPECT_EQ(At(20, 4), kBlank);

    // The whole texture as source matches the plain sprite.
    graphics->DrawSpriteRegion(texture.get(), 0, 0, 4, 4, 32, 32, 16, 16);
    EXPECT_EQ(At(32, 32), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(At(47, 47), (Rgba{180, 180, 0, 255}));
}

TEST_F(GraphicsTest, TextDrawsTheCellOfEachByte) {
    auto font = CellCodedFont();
    struct Case {
        std::string text;
        int column, row;
    };
    const Case cases[] = {{"A", 1, 4}, {std::string(1, '\xff'), 15, 15}, {std::string(1, '\0'), 0, 0},
                          {"\n", 10, 0}, {"~", 14, 7}};
    for (const Case& c : cases) {
        graphics->Clear(Engine::Color(0, 0, 0, 0));
        graphics->DrawText(font.get(), c.text, 0, 0);
        EXPECT_EQ(At(8, 8), CellColor(c.column, c.row)) << "byte " << int(static_cast<unsigned char>(c.text[0]));
        EXPECT_EQ(At(0, 0), CellColor(c.column, c.row));
        EXPECT_EQ(At(15, 15), CellColor(c.column, c.row));
        EXPECT_EQ(At(16, 8), kBlank);
        EXPECT_EQ(At(8, 16), kBlank);
    }
}

TEST_F(GraphicsTest, TextAdvancesByCellWidthOverOnePointSevenFive) {
    auto font = CellCodedFont();
    graphics->DrawText(font.get(), "AB", 0, 0);
    // The second cell spans 16 / 1.75 = 9.14 px to 25.14 px and is drawn over the first.
    EXPECT_EQ(At(8, 8), CellColor(1, 4));
    EXPECT_EQ(At(9, 8), CellColor(2, 4));
    EXPECT_EQ(At(24, 8), CellColor(2, 4));
    EXPECT_EQ(At(25, 8), kBlank);
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
}

TEST_F(GraphicsTest, TextStartsAtItsPosition) {
    auto font = CellCodedFont();
    graphics->DrawText(font.get(), "A", 20, 30);
    EXPECT_EQ(At(19, 38), kBlank);
    EXPECT_EQ(At(20, 30), CellColor(1, 4));
    EXPECT_EQ(At(35, 45), CellColor(1, 4));
    EXPECT_EQ(At(36, 45), kBlank);
}

TEST_F(GraphicsTest, EmptyTextPushesAndPopsWithoutDrawing) {
    auto font = CellCodedFont();
    const glm::mat4 before = graphics->transform.GetModel();
    graphics->DrawText(font.get(), "", 5, 5);
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
    EXPECT_EQ(graphics->transform.GetStackLength(), 1u);
    EXPECT_EQ(graphics->transform.GetModel(), before);
    EXPECT_EQ(At(8, 8), kBlank);
}

TEST_F(GraphicsTest, NullTexturesFontsAndCanvasesDrawNothing) {
    graphics->DrawText(nullptr, "A", 0, 0);
    graphics->DrawSprite(nullptr, 0, 0, 1, 1);
    graphics->DrawSpriteRegion(nullptr, 0, 0, 1, 1, 0, 0, 10, 10);
    graphics->DrawCanvas(nullptr, 0, 0, 1, 1);
    graphics->DrawMesh(nullptr, static_cast<Engine::Texture*>(nullptr));
    graphics->DrawMesh(nullptr, 0u);
    graphics->DrawModel(nullptr, static_cast<Engine::Texture*>(nullptr));
    graphics->DrawModel(nullptr, std::vector<Engine::Texture*>{});
    EXPECT_EQ(graphics->transform.GetDepth(), 0);
    EXPECT_EQ(graphics->transform.GetStackLength(), 0u);
    EXPECT_EQ(At(0, 0), kBlank);
}

TEST_F(GraphicsTest, CanvasIsShownUpright) {
    // Red over the top half of the source canvas, blue over the left quarter of the bottom half.
    auto red = GraphicsTesting::SolidTexture(kSize, kSize / 2, kRed);
    auto blue = GraphicsTesting::SolidTexture(kSize / 4, kSize / 2, kBlue);
    graphics->DrawSprite(red.get(), 0, 0, 1, 1);
    graphics->DrawSprite(blue.get(), 0, kSize / 2, 1, 1);

    Engine::Canvas target(kSize * 2, kSize * 2);
    graphics->BindCanvas(&target);
    graphics->Clear(Engine::Color(0, 0, 0, 0));
    graphics->transform.Ortho(kSize * 2, kSize * 2);
    graphics->transform.Apply();
    graphics->DrawCanvas(canvas.get(), 8, 4, 1.5f, 1.5f);  // 96 x 96 at (8, 4)

    const int h = kSize * 2;
    EXPECT_EQ(At(8, 4, h), kRed);
    EXPECT_EQ(At(103, 51, h), kRed);
    EXPECT_EQ(At(8, 99, h), kBlue);
    EXPECT_EQ(At(31, 99, h), kBlue);
    EXPECT_EQ(At(32, 99, h), kBlank);
    EXPECT_EQ(At(7, 4, h), kBlank);
    EXPECT_EQ(At(104, 4, h), kBlank);
    EXPECT_EQ(At(8, 100, h), kBlank);
}

TEST_F(GraphicsTest, TriangleUsesTheTintAndRestoresTexturing) {
    for (const bool texturing : {true, false}) {
        graphics->Clear(Engine::Color(0, 0, 0, 0));
        graphics->effect.SetTexturesEnabled(texturing);
        graphics->effect.SetTintColor(0.0f, 1.0f, 0.0f, 1.0f);
        // The triangle binds texture name 0, which has no image: sampling it would give black.
        graphics->DrawTriangle(0, 0, 40, 0, 0, 40);
        EXPECT_EQ(At(5, 5), kGreen);
        EXPECT_EQ(At(30, 30), kBlank);  // beyond the hypotenuse
        EXPECT_EQ(graphics->effect.SetTexturesEnabled(true), texturing);
        GLint flag = -1;
        glGetUniformiv(program->GetId(), glGetUniformLocation(program->GetId(), "texturesEnabled"), &flag);
        EXPECT_EQ(flag, 1);
    }
}

TEST_F(GraphicsTest, TriangleUsesTheMatricesLastApplied) {
    graphics->transform.Translate(20, 20, 0);
    graphics->transform.Apply();
    graphics->DrawTriangle(0, 0, 10, 0, 0, 10);
    EXPECT_EQ(At(21, 21), kWhite);
    EXPECT_EQ(At(5, 5), kBlank);
}

TEST_F(GraphicsTest, FilterFlagReachesTheTextureOfTheNextDraw) {
    auto texture = GraphicsTesting::SolidTexture(2, 2, kWhite);
    GLint filter = 0;
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    ASSERT_EQ(filter, GL_LINEAR);  // as CreateTexture leaves it

    graphics->SetLinearFilter(false);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);  // the flag alone changes nothing

    graphics->DrawSprite(texture.get(), 0, 0, 1, 1);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
}

TEST_F(GraphicsTest, GlyphGridsAreCachedBySize) {
    EXPECT_EQ(graphics->GetGlyphGridCount(), 1u);
    Engine::GlyphGrid* font = graphics->GetGlyphGrid(16, 16);
    EXPECT_EQ(graphics->GetGlyphGridCount(), 1u);
    EXPECT_EQ(font->GetCellBufferCount(), 256u);

    Engine::GlyphGrid* small = graphics->GetGlyphGrid(8, 8);
    EXPECT_EQ(graphics->GetGlyphGridCount(), 2u);
    EXPECT_EQ(small->GetCellBufferCount(), 64u);
    EXPECT_NE(small, font);
    EXPECT_EQ(graphics->GetGlyphGrid(8, 8), small);
    graphics->AddGlyphGrid(8, 8);
    EXPECT_EQ(graphics->GetGlyphGridCount(), 2u);
}

TEST_F(GraphicsTest, GlyphCellBuffersHoldTheirCellRectangle) {
    Engine::GlyphGrid* grid = graphics->GetGlyphGrid(4, 2);
    struct Case {
        int column, row;
        float left, top;
    };
    for (const Case& c : {Case{0, 0, 0.0f, 0.0f}, Case{3, 0, 0.75f, 0.0f}, Case{1, 1, 0.25f, 0.5f}}) {
        float uvs[8] = {};
        glBindBuffer(GL_ARRAY_BUFFER, grid->GetCellBuffer(c.column, c.row));
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(uvs), uvs);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        const float right = c.left + 0.25f;
        const float bottom = c.top + 0.5f;
        const float expected[8] = {c.left, c.top, right, c.top, right, bottom, c.left, bottom};
        for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(uvs[i], expected[i]) << c.column << "," << c.row << "[" << i << "]";
    }
    EXPECT_EQ(grid->GetCellBuffer(4, 0), 0u);
    EXPECT_EQ(grid->GetCellBuffer(0, 2), 0u);
    EXPECT_EQ(grid->GetCellBuffer(-1, 0), 0u);
    grid->DrawCell(4, 0, 0, false);  // outside the grid: nothing happens
}

}  // namespace
