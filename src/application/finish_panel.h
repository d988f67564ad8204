// The short panel a finished run shows over the game: the run's time, the best, and the level that
// Enter plays next. The game goes on under it; the shell hides it when the run starts again. Drawn on
// the canvas in the HUD's font. Owned by the shell; main thread only.
#pragma once

#include "application/canvas_overlay.h"

#include <cstdint>
#include <string>

namespace Engine {
class Graphics;
struct Texture;
}  // namespace Engine

namespace Application {

class FinishPanel {
public:
    // A run of `steps` (1/60 s each) has ended; `best` is the best now kept (-1: none), `verdict` what
    // the run was ("new best", "replay"; empty: nothing to say) and `next` the title of the level Enter
    // plays (empty: Enter does nothing here, as in a demo).
    void Show(int64_t steps, int64_t best, const std::string& verdict, const std::string& next);
    void Hide() { shown = false; }
    bool IsShown() const { return shown; }
    // The box and its lines near the bottom of the canvas.
    void Draw(Engine::Graphics* graphics, Engine::Texture* font);

private:
    void Layout(int width, int height);

    bool shown = false;
    std::string time, best, offer;
    CanvasOverlay overlay;
    bool stale = true;
};

}  // namespace Application
