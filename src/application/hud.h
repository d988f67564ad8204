// The flat overlay drawn over the 3-D picture in canvas pixels: a frame-rate counter, a hint line,
// a centred crosshair and, in a level with a finish, the run's time and the best time. Borrows its font and
// crosshair textures from the asset store. A base of Game; main thread only. Drawing allocates nothing per
// frame.
#pragma once

#include "engine/core/types.h"

#include <cstdint>
#include <string>

namespace Engine {
class Assets;
class Graphics;
struct Texture;
}  // namespace Engine

namespace Application {

class HUD {
public:
    HUD();

    // font = "font16", crosshair = "crosshair"; a missing bitmap leaves the pointer null.
    void InitHUD(Engine::Assets* assets);
    // fps = 60 / dt (dt counts 60-Hz frames).
    void UpdateHUD(float dt);
    // The run's time and the best (steps of 1/60 s; best < 0: none yet), or "Replay" in a replay,
    // shown at the top right once `shown`; the texts are rebuilt only when a figure changes, without
    // allocating.
    void UpdateRunHUD(bool shown, int64_t runSteps, int64_t bestSteps);
    // Counter and hint as shadowed text, then the run's times and the crosshair; leaves depth test
    // and filtering off.
    void DrawHUD(Engine::Graphics* graphics);

    // "FPS: " and value rounded to the nearest integer, written into `out` without allocating once
    // its capacity suffices. Values beyond the int32 range saturate; NaN reads 0.
    static void FormatCounter(float value, std::string& out);
    // Top-left corner that centres a 32 x 32 crosshair on a width x height canvas (integer halves).
    static Engine::Point CrosshairPosition(int32_t width, int32_t height);
    // The hint line's row on a canvas `height` pixels high: the same distance above the bottom at
    // every height.
    static float HintRow(int32_t height);

    bool replay = false;                   // a demo plays: the best row reads "Replay"
    float fps = 0.0f;                      // updates per second from the latest dt
    Engine::Texture* font = nullptr;       // "font16", a 16 x 16 glyph sheet
    Engine::Texture* crosshair = nullptr;  // "crosshair"

private:
    void DrawShadowed(Engine::Graphics* graphics, const std::string& text, float x, float y);
    std::string counterText;  // reused every frame
    std::string hintText;     // built once
    bool runShown = false;
    int64_t shownRun = -1;
    int64_t shownBest = -1;
    std::string runText;   // "Time S.SS", reused
    std::string bestText;  // "Best S.SS", or empty without a best
};

}  // namespace Application
