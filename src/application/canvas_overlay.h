// What the menus lay over the picture, in canvas pixels: lines of shadowed text in the HUD's font,
// each with its place and colour, and the dark boxes behind them. Built when what they show changes and
// drawn as they stand, so a frame of an open menu builds no text. A value owned by its menu; main
// thread only (drawing needs the context).
#pragma once

#include <string>
#include <vector>

namespace Engine {
class Graphics;
struct Texture;
}  // namespace Engine

namespace Application {

class CanvasOverlay {
public:
    struct Colour {
        float r, g, b;
    };
    static constexpr Colour White{1.0f, 1.0f, 1.0f};
    static constexpr Colour Grey{0.7f, 0.7f, 0.7f};
    static constexpr Colour Gold{1.0f, 0.85f, 0.25f};  // the line chosen
    static constexpr Colour Red{1.0f, 0.45f, 0.4f};    // what went wrong

    void Clear();
    // A dark box (black at `alpha`) from (x, y), `width` by `height`, drawn before every line.
    void Box(float x, float y, float width, float height, float alpha);
    void Line(const std::string& text, float x, float y, Colour colour);
    // The same with the text's middle at `middle`, or its end at `right`.
    void Centred(const std::string& text, float middle, float y, Colour colour);
    void RightAligned(const std::string& text, float right, float y, Colour colour);
    // `text` cut to at most `width` pixels, ending in "..." when cut.
    std::string Fit(const std::string& text, float width) const;

    // Whether the lines must be laid out again: the canvas's size or `font` changed since the last
    // call (true on the first). Takes `font` as the one the lines are measured and drawn in.
    bool Outdated(const Engine::Graphics& graphics, Engine::Texture* font);
    float TextWidth(const std::string& text) const;
    float LineHeight() const;
    // Boxes, then each line as a black shadow one pixel down and right under the coloured text, in the
    // canvas's pixel grid; leaves depth testing and filtering off and the tint white, as the HUD does.
    void Draw(Engine::Graphics* graphics) const;

private:
    struct Text {
        std::string text;
        float x, y;
        Colour colour;
    };
    struct Rectangle {
        float x, y, width, height, alpha;
    };
    Engine::Texture* font = nullptr;
    bool laid = false;
    int laidWidth = 0, laidHeight = 0;
    std::vector<Rectangle> boxes;
    std::vector<Text> lines;
};

}  // namespace Application
