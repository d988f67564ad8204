// The drawing facade. All 2-D drawing uses unit-sized geometry placed by the model matrix
// (translate to the position, scale to the size in pixels), so no draw creates OpenGL objects:
// text selects pre-built uv buffers, and the region quad and triangle are rewritten in place.
#include "engine/graphics/graphics.h"

#include "engine/graphics/canvas.h"
#include "engine/graphics/glyph_grid.h"
#include "engine/graphics/mesh.h"
#include "engine/graphics/model.h"
#include "engine/graphics/texture.h"

#include <GL/glew.h>

namespace Engine {

namespace {

const std::vector<float> kQuadPositions{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
const std::vector<uint32_t> kQuadIndices{0, 1, 2, 2, 3, 0};
const std::vector<float> kUprightUVs{0, 0, 1, 0, 1, 1, 0, 1};
// OpenGL stores the canvas bottom row first; flipping v shows it upright under the top-left origin.
const std::vector<float> kFlippedUVs{0, 1, 1, 1, 1, 0, 0, 0};
const std::vector<float> kQuadNormals{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
const std::vector<float> kTrianglePositions{0, 0, 0, 1, 0, 0, 1, 1, 0};
const std::vector<uint32_t> kTriangleIndices{0, 1, 2};
const std::vector<float> kTriangleUVs{0, 0, 1, 0, 1, 1};

// The font sheet is a 16 x 16 grid of cells indexed by byte value.
constexpr int kFontCells = 16;
constexpr float kCellFraction = 0.0625f;
constexpr float kAdvanceDivisor = 1.75f;

}  // namespace

Graphics::Graphics() {
    SetAlphaBlending(true);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    AddGlyphGrid(kFontCells, kFontCells);
    fontGrid = GetGlyphGrid(kFontCells, kFontCells);
    spriteQuad = new Mesh(kQuadPositions, kQuadIndices, kUprightUVs, kQuadNormals);
    canvasQuad = new Mesh(kQuadPositions, kQuadIndices, kFlippedUVs, kQuadNormals);
    regionQuad = new Mesh(kQuadPositions, kQuadIndices, kUprightUVs, kQuadNormals);
    triangle = new Mesh(kTrianglePositions, kTriangleIndices, kTriangleUVs, kQuadNormals);
    linearFilter = true;
}

Graphics::~Graphics() {
    // Only CPU memory is released here: the OpenGL objects end with the context, which may no
    // longer be current when the drawing object is deleted.
    for (GlyphGrid* grid : glyphGrids) delete grid;
    delete spriteQuad;
    delete canvasQuad;
    delete regionQuad;
    delete triangle;
}

void Graphics::AddGlyphGrid(int columns, int rows) {
    for (const GlyphGrid* grid : glyphGrids) {
        if (grid->GetColumns() == columns && grid->GetRows() == rows) return;
    }
    glyphGrids.push_back(new GlyphGrid(columns, rows));
}

GlyphGrid* Graphics::GetGlyphGrid(int columns, int rows) {
    for (GlyphGrid* grid : glyphGrids) {
        if (grid->GetColumns() == columns && grid->GetRows() == rows) return grid;
    }
    AddGlyphGrid(columns, rows);
    return glyphGrids.back();
}

void Graphics::BindCanvas(Canvas* canvas) {
    if (canvas) {
        canvas->Bind();
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
}

float Graphics::TextWidth(const Texture* font, const std::string& text) {
    if (!font) return 0.0f;
    return static_cast<float>(font->width) * kCellFraction / kAdvanceDivisor *
           static_cast<float>(text.size());
}

float Graphics::TextHeight(const Texture* font) {
    return font ? static_cast<float>(font->height) * kCellFraction : 0.0f;
}

void Graphics::DrawText(Texture* font, const std::string& text, float x, float y) {
    if (!font) return;
    const float cellWidth = static_cast<float>(font->width) * kCellFraction;
    const float cellHeight = static_cast<float>(font->height) * kCellFraction;
    // The advance is expressed in the cell-scaled space: cell width / 1.75 pixels on screen.
    const float advance = (cellWidth / kAdvanceDivisor) / cellWidth;

    transform.PushMatrix();
    transform.Translate(x, y, 0.0f);
    transform.Scale(cellWidth, cellHeight, 1.0f);
    transform.Apply();
    for (const char byte : text) {
        const unsigned ch = static_cast<unsigned char>(byte);
        const int row = static_cast<int>(ch >> 4);
        const int column = static_cast<int>(ch) - kFontCells * row;
        fontGrid->DrawCell(column, row, font->id, linearFilter);
        transform.Translate(advance, 0.0f, 0.0f);
        transform.Apply();
    }
    transform.PopMatrix();
}

void Graphics::DrawSprite(Texture* texture, float x, float y, float scaleX, float scaleY) {
    if (!texture) return;
    transform.PushMatrix();
    transform.Translate(x, y, 0.0f);
    transform.Scale(static_cast<float>(texture->width) * scaleX, static_cast<float>(texture->height) * scaleY,
                    1.0f);
    transform.Apply();
    spriteQuad->Draw(texture, linearFilter);
    transform.PopMatrix();
}

void Graphics::DrawSpriteRegion(Texture* texture, float sx, float sy, float sw, float sh, float x, float y,
                                float w, float h) {
    if (!texture) return;
    transform.PushMatrix();
    transform.Translate(x, y, 0.0f);
    transform.Scale(w, h, 1.0f);
    transform.Apply();
    const float textureWidth = static_cast<float>(texture->width);
    const float textureHeight = static_cast<float>(texture->height);
    const float left = sx / textureWidth;
    const float top = sy / textureHeight;
    const float right = sw / textureWidth + left;
    const float bottom = top + sh / textureHeight;
    const float uvs[8] = {left, top, right, top, right, bottom, left, bottom};
    regionQuad->UpdateUVs(uvs, 8);
    regionQuad->Draw(texture, linearFilter);
    transform.PopMatrix();
}

void Graphics::DrawCanvas(Canvas* canvas, float x, float y, float scaleX, float scaleY) {
    if (!canvas) return;
    const Point size = canvas->GetSize();
    transform.PushMatrix();
    transform.Translate(x, y, 0.0f);
    transform.Scale(static_cast<float>(size.x) * scaleX, static_cast<float>(size.y) * scaleY, 1.0f);
    transform.Apply();
    canvasQuad->Draw(canvas->GetTexture(), linearFilter);
    transform.PopMatrix();
}

void Graphics::DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3) {
    const bool previous = effect.SetTexturesEnabled(false);
    const float corners[9] = {x1, y1, 0.0f, x2, y2, 0.0f, x3, y3, 0.0f};
    triangle->UpdatePositions(corners, 9);
    triangle->Draw(0u, true);
    effect.SetTexturesEnabled(previous);
}

void Graphics::DrawMesh(Mesh* mesh, Texture* texture) {
    if (mesh) mesh->Draw(texture, linearFilter);
}

void Graphics::DrawMesh(Mesh* mesh, GLuint texture) {
    if (mesh) mesh->Draw(texture, linearFilter);
}

void Graphics::DrawModel(Model* model, Texture* texture) {
    if (!model) return;
    for (unsigned i = 0; i < model->GetMeshCount(); ++i) model->GetMesh(i)->Draw(texture, linearFilter);
}

void Graphics::DrawModel(Model* model, const std::vector<Texture*>& textures) {
    if (model) model->Draw(textures, linearFilter);
}

}  // namespace Engine
