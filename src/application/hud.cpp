#include "application/hud.h"

#include "application/asset_names.h"
#include "common/seconds.h"
#include "common/step_rate.h"
#include "engine/assets/assets.h"
#include "engine/graphics/graphics.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace Application {

namespace {

constexpr int32_t CrosshairHalf = 16;   // half of the 32 x 32 crosshair image
constexpr size_t CounterCapacity = 32;  // "FPS: " and any int32
const char* const HintLine = "Press L.Ctrl + Q to quit";
constexpr int32_t HintRise = 13;  // the hint's top above the bottom edge: row 227 of a 240-pixel canvas
const char* const RunLabel = "Time ";
const char* const BestLabel = "Best ";
const char* const ReplayLabel = "Replay";

// roundf then truncation to int32; the cast alone is undefined outside the int32 range.
int32_t RoundToInt32(float value) {
    if (std::isnan(value)) return 0;
    const float rounded = std::round(value);
    if (rounded >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
    if (rounded < -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

}  // namespace

HUD::HUD() : hintText(HintLine) {
    counterText.reserve(CounterCapacity);
    runText.reserve(CounterCapacity);
    bestText.reserve(CounterCapacity);
}

void HUD::InitHUD(Engine::Assets* assets) {
    if (assets == nullptr) return;
    font = assets->GetTexture(AssetNames::Font);
    crosshair = assets->GetTexture(AssetNames::Crosshair);
}

void HUD::UpdateHUD(float dt) { fps = static_cast<float>(Common::StepsPerSecond) / dt; }

void HUD::UpdateRunHUD(bool shown, int64_t runSteps, int64_t bestSteps) {
    runShown = shown;
    if (!shown) return;
    char seconds[CounterCapacity];
    if (runSteps != shownRun || runText.empty()) {
        Common::FormatSeconds(runSteps, Common::StepsPerSecond, seconds, sizeof seconds);
        runText.assign(RunLabel).append(seconds);
        shownRun = runSteps;
    }
    if (replay) {
        if (bestText != ReplayLabel) bestText.assign(ReplayLabel);
        return;
    }
    if (bestSteps != shownBest) {
        bestText.clear();
        if (bestSteps >= 0) {
            Common::FormatSeconds(bestSteps, Common::StepsPerSecond, seconds, sizeof seconds);
            bestText.assign(BestLabel).append(seconds);
        }
        shownBest = bestSteps;
    }
}

void HUD::FormatCounter(float value, std::string& out) {
    char buffer[CounterCapacity];
    std::snprintf(buffer, sizeof buffer, "FPS: %d", static_cast<int>(RoundToInt32(value)));
    out.assign(buffer);
}

float HUD::HintRow(int32_t height) { return static_cast<float>(height - HintRise); }

Engine::Point HUD::CrosshairPosition(int32_t width, int32_t height) {
    return Engine::Point(width / 2 - CrosshairHalf, height / 2 - CrosshairHalf);
}

void HUD::DrawHUD(Engine::Graphics* graphics) {
    if (graphics == nullptr) return;
    const int32_t width = graphics->canvasWidth;
    const int32_t height = graphics->canvasHeight;

    graphics->transform.Ortho(static_cast<float>(width), static_cast<float>(height));
    graphics->transform.Identity();
    graphics->transform.Apply();
    graphics->SetDepthTest(false);
    graphics->SetLinearFilter(false);

    FormatCounter(fps, counterText);
    DrawShadowed(graphics, counterText, 1.0f, 1.0f);
    DrawShadowed(graphics, hintText, 1.0f, HintRow(height));
    if (runShown && font != nullptr) {
        // Right-aligned in the top right corner, one glyph row apart.
        const float right = static_cast<float>(width) - 1.0f;
        DrawShadowed(graphics, runText, right - Engine::Graphics::TextWidth(font, runText), 1.0f);
        DrawShadowed(graphics, bestText, right - Engine::Graphics::TextWidth(font, bestText),
                     1.0f + Engine::Graphics::TextHeight(font));
    }

    const Engine::Point corner = CrosshairPosition(width, height);
    graphics->DrawSprite(crosshair, static_cast<float>(corner.x), static_cast<float>(corner.y), 1.0f, 1.0f);
}

void HUD::DrawShadowed(Engine::Graphics* graphics, const std::string& text, float x, float y) {
    // A black shadow one pixel down and right, then the white text.
    Engine::Effect& effect = graphics->effect;
    effect.SetTintColor(0.0f, 0.0f, 0.0f, 1.0f);
    graphics->DrawText(font, text, x + 1.0f, y + 1.0f);
    effect.SetTintColor(1.0f, 1.0f, 1.0f, 1.0f);
    graphics->DrawText(font, text, x, y);
}

}  // namespace Application
