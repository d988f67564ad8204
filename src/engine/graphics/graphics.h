// The one drawing object: transform and effect state, render switches, bitmap-font text, sprites,
// the canvas quad and model drawing. Created by the application core once OpenGL is up, handed to
// every draw hook, deleted at shutdown. Main thread only. The game draws through nothing else.
#pragma once

#include "engine/graphics/effect.h"
#include "engine/graphics/render_utility.h"
#include "engine/graphics/transform.h"

#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Engine {

class Canvas;
class GlyphGrid;
class Mesh;
class Model;
struct Texture;

class Graphics : public RenderUtility {
public:
    // Needs a current context with GLEW initialised: turns blending on, builds the 16 x 16 font
    // grid and the four built-in meshes.
    Graphics();
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // Adds a columns x rows glyph grid unless one of that size exists.
    void AddGlyphGrid(int columns, int rows);
    // The grid of that size, added first when missing.
    GlyphGrid* GetGlyphGrid(int columns, int rows);
    size_t GetGlyphGridCount() const { return glyphGrids.size(); }

    // Binds the canvas (its viewport), or with null the window framebuffer and window viewport.
    void BindCanvas(Canvas* canvas);

    // The width and height in pixels that DrawText gives `text` (one line) in `font`; 0 without a font.
    static float TextWidth(const Texture* font, const std::string& text);
    static float TextHeight(const Texture* font);
    // Bitmap text from a 16 x 16 font sheet at (x, y); advance = cell width / 1.75. Null font: no-op.
    void DrawText(Texture* font, const std::string& text, float x, float y);
    // The whole texture at (x, y), scaled by (scaleX, scaleY). Null texture: no-op.
    void DrawSprite(Texture* texture, float x, float y, float scaleX, float scaleY);
    // Source rectangle (sx, sy, sw, sh) in texels into the rectangle (x, y, w, h). Null: no-op.
    void DrawSpriteRegion(Texture* texture, float sx, float sy, float sw, float sh, float x, float y, float w,
                          float h);
    // The canvas's colour texture, upright, at (x, y) scaled by (scaleX, scaleY). Null: no-op.
    void DrawCanvas(Canvas* canvas, float x, float y, float scaleX, float scaleY);
    // An untextured triangle in the tint colour, with the matrices last applied.
    void DrawTriangle(float x1, float y1, float x2, float y2, float x3, float y3);
    // Draws `mesh` with the current filter; the caller has applied the matrices. Null: no-op.
    void DrawMesh(Mesh* mesh, Texture* texture);
    void DrawMesh(Mesh* mesh, GLuint texture);
    // Every mesh of `model` with one texture, or mesh i with textures[i]. Null: no-op.
    void DrawModel(Model* model, Texture* texture);
    void DrawModel(Model* model, const std::vector<Texture*>& textures);

    Transform transform;
    Effect effect;

    // Sizes kept by their writers: the application core (window) and the shell (canvas).
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    int32_t canvasWidth = 0;
    int32_t canvasHeight = 0;

private:
    std::vector<GlyphGrid*> glyphGrids;
    GlyphGrid* fontGrid = nullptr;
    Mesh* spriteQuad = nullptr;
    Mesh* canvasQuad = nullptr;
    Mesh* regionQuad = nullptr;
    Mesh* triangle = nullptr;
};

}  // namespace Engine
