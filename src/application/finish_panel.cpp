#include "application/finish_panel.h"

#include "common/seconds.h"
#include "common/step_rate.h"
#include "engine/graphics/graphics.h"

#include <algorithm>

namespace Application {

namespace {

constexpr float BoxAlpha = 0.65f;
constexpr float Padding = 6.0f;

std::string Seconds(int64_t steps) {
    char text[32];
    Common::FormatSeconds(steps, Common::StepsPerSecond, text, sizeof text);
    return text;
}

}  // namespace

void FinishPanel::Show(int64_t steps, int64_t bestSteps, const std::string& verdict,
                       const std::string& next) {
    shown = true;
    time = "Finished in " + Seconds(steps) + " s" + (verdict.empty() ? "" : " (" + verdict + ")");
    best = bestSteps >= 0 ? "Best " + Seconds(bestSteps) + " s" : std::string();
    offer = next.empty() ? std::string() : "Enter: " + next;
    stale = true;
}

void FinishPanel::Layout(int width, int height) {
    const float w = static_cast<float>(width);
    const float line = overlay.LineHeight();
    overlay.Clear();
    std::vector<std::string> texts;
    for (const std::string* text : {&time, &best, &offer}) {
        if (!text->empty()) texts.push_back(overlay.Fit(*text, w - 4.0f * Padding));
    }
    float widest = 0.0f;
    for (const std::string& text : texts) widest = std::max(widest, overlay.TextWidth(text));
    const float boxHeight = line * static_cast<float>(texts.size()) + 2.0f * Padding;
    // Above the hint line, below the crosshair.
    const float top = static_cast<float>(height) * 0.62f;
    overlay.Box(w * 0.5f - widest * 0.5f - Padding, top, widest + 2.0f * Padding, boxHeight, BoxAlpha);
    float y = top + Padding;
    for (size_t i = 0; i < texts.size(); ++i, y += line) {
        const bool last = i + 1 == texts.size() && !offer.empty();
        overlay.Centred(texts[i], w * 0.5f, y,
                        i == 0 ? CanvasOverlay::White
                        : last ? CanvasOverlay::Gold
                               : CanvasOverlay::Grey);
    }
}

void FinishPanel::Draw(Engine::Graphics* graphics, Engine::Texture* font) {
    if (!shown || graphics == nullptr) return;
    // The overlay is asked first: it keeps the canvas and font it was laid out for.
    if (overlay.Outdated(*graphics, font) || stale) {
        Layout(graphics->canvasWidth, graphics->canvasHeight);
        stale = false;
    }
    overlay.Draw(graphics);
}

}  // namespace Application
