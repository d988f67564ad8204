// Test and benchmark support: the real program's application, driven frame by frame instead of by
// its loop. Start runs the program's own start-up (settings, window, shader, canvas, loader) in a
// game folder, Frame runs one pass of the loop's frame (update, then clear, draw and swap).
// One at a time per process; main thread only; needs an X display.
#pragma once

#include "application/app_base.h"

#include <string>

namespace TestSupport {

class GameHarness : public Application::AppBase {
public:
    ~GameHarness();
    // The program's Init in `gameFolder`, which stays the working directory until Stop, since the
    // loader reads its files relative to it. Throws std::runtime_error as the program would.
    void Start(const std::string& gameFolder);
    // One frame of `delta` seconds: OnUpdate, then RenderFrame, then the event poll.
    void Frame(double delta = kFramePeriod);
    // Frames until the loader has finished and the first scene frame is drawn; false after
    // `maxSeconds` without that. Paced, a frame runs only once 1/60 s has passed since the last,
    // as in the program's loop (which polls events in between); otherwise frames run back to back.
    bool RunUntilLoaded(double maxSeconds = 30.0, bool paced = false);
    // Makes this game's GL context current again (after another window took it over).
    void MakeCurrent();
    // Terminate, close the window and return to the previous working directory.
    void Stop();

    bool IsLoaded() const { return loaded; }
    bool IsMuted() const { return sounds.IsMuted(); }
    Engine::AudioDevice& GetAudio() { return sounds.Device(); }
    bool IsRunning() const { return running; }
    Application::Game* GetGame() const { return game; }
    Engine::Graphics* GetGraphics() const { return graphics; }
    Engine::Canvas* GetCanvas() const { return canvas; }
    const Application::LevelCatalog& GetCatalog() const { return catalog; }
    size_t GetLevel() const { return level; }
    bool IsMenuOpen() const { return menu.IsOpen(); }
    bool IsFinishPanelShown() const { return panel.IsShown(); }

private:
    std::string previousFolder;
    bool started = false;
};

}  // namespace TestSupport
