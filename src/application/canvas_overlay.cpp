#include "application/canvas_overlay.h"

#include "engine/graphics/graphics.h"

#include <cmath>

namespace Application {

void CanvasOverlay::Clear() {
    boxes.clear();
    lines.clear();
}

void CanvasOverlay::Box(float x, float y, float width, float height, float alpha) {
    boxes.push_back(Rectangle{x, y, width, height, alpha});
}

void CanvasOverlay::Line(const std::string& text, float x, float y, Colour colour) {
    // On whole pixels: the font is drawn unfiltered, and a glyph off the grid loses rows and columns.
    lines.push_back(Text{text, std::floor(x), std::floor(y), colour});
}

bool CanvasOverlay::Outdated(const Engine::Graphics& graphics, Engine::Texture* newFont) {
    const bool outdated =
        !laid || laidWidth != graphics.canvasWidth || laidHeight != graphics.canvasHeight || font != newFont;
    laid = true;
    laidWidth = graphics.canvasWidth;
    laidHeight = graphics.canvasHeight;
    font = newFont;
    return outdated;
}

float CanvasOverlay::TextWidth(const std::string& text) const {
    return Engine::Graphics::TextWidth(font, text);
}

void CanvasOverlay::Centred(const std::string& text, float middle, float y, Colour colour) {
    Line(text, middle - TextWidth(text) * 0.5f, y, colour);
}

void CanvasOverlay::RightAligned(const std::string& text, float right, float y, Colour colour) {
    Line(text, right - TextWidth(text), y, colour);
}

std::string CanvasOverlay::Fit(const std::string& text, float width) const {
    if (TextWidth(text) <= width) return text;
    std::string cut = text;
    while (!cut.empty() && TextWidth(cut + "...") > width) cut.pop_back();
    return cut + "...";
}

float CanvasOverlay::LineHeight() const { return Engine::Graphics::TextHeight(font) + 3.0f; }

void CanvasOverlay::Draw(Engine::Graphics* graphics) const {
    if (graphics == nullptr) return;
    Engine::Transform& transform = graphics->transform;
    transform.Ortho(static_cast<float>(graphics->canvasWidth), static_cast<float>(graphics->canvasHeight));
    transform.Identity();
    transform.Apply();
    graphics->SetDepthTest(false);
    graphics->SetLinearFilter(false);
    Engine::Effect& effect = graphics->effect;
    for (const Rectangle& r : boxes) {
        effect.SetTintColor(0.0f, 0.0f, 0.0f, r.alpha);
        graphics->DrawTriangle(r.x, r.y, r.x + r.width, r.y, r.x + r.width, r.y + r.height);
        graphics->DrawTriangle(r.x, r.y, r.x + r.width, r.y + r.height, r.x, r.y + r.height);
    }
    for (const Text& line : lines) {
        effect.SetTintColor(0.0f, 0.0f, 0.0f, 1.0f);
        graphics->DrawText(font, line.text, line.x + 1.0f, line.y + 1.0f);
        effect.SetTintColor(line.colour.r, line.colour.g, line.colour.b, 1.0f);
        graphics->DrawText(font, line.text, line.x, line.y);
    }
    effect.SetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
}

}  // namespace Application
