// The engine's application base: owns the window, the OpenGL context and the drawing object, runs
// the fixed start-up, the 1/60 s frame loop (which waits on events between frames) and one
// shutdown path for normal ends and errors.
// Everything game-specific happens in the virtual hooks. One per process; main thread only.
#pragma once

#include "common/step_rate.h"
#include "engine/core/display_handle.h"
#include "engine/core/event_handle.h"

#include <string>

struct GLFWwindow;

namespace Engine {

class Graphics;

class ApplicationManager : public EventHandle, public DisplayHandle {
public:
    // The frame period: a frame runs once at least this much time has passed since the last one.
    static constexpr double kFramePeriod = 1.0 / Common::StepsPerSecond;
    // The last stretch before a frame is due, which the loop spends watching the clock instead of
    // waiting on events: a wait's wake-up comes a tenth of a millisecond or two late, and frames that
    // all start late by that much fall behind a 60 Hz display's refresh.
    static constexpr double kClockWatch = 0.00025;
    // The window, and the canvas inside it, that a program gets when its settings name no size.
    static constexpr int kDefaultWidth = 640;
    static constexpr int kDefaultHeight = 480;

    // Start-up, loop and shutdown. A std::runtime_error inside is printed on standard output, the
    // application is terminated once, and "An error occurred, application terminated." is thrown.
    void Run(int argc, char** argv);
    void Init();                                 // the start-up sequence, ending with OnStart
    void OpenWindow();                           // creates the window, makes its context current
    void RegisterCallbacks(GLFWwindow* window);  // routes the six window events to this object
    void RenderFrame(Graphics* graphics);        // clear, OnDraw, swap
    void Terminate();                            // OnTerminate, then the drawing object is deleted

    void OnResizeEvent(int width, int height) override;  // viewport and sizes, then OnViewportChanged

    virtual void OnStart();                   // last step of Init
    virtual void OnConfigure();               // first step of Init, before the window library
    virtual void OnDraw(Graphics* graphics);  // between clear and swap
    virtual void OnUpdate(double delta);      // once per frame, delta in seconds; >= 1/60 unless unpaced
    virtual void OnTerminate();               // first step of Terminate
    virtual void OnCloseRequest();            // each pass while the close flag is set: stop
    virtual void OnViewportChanged(int width, int height);  // after a resize
    virtual void OnFocusChanged(bool focused);              // the window gained or lost the input focus

    ~ApplicationManager();  // terminates if that has not happened; not virtual, never deleted via a base

protected:
    bool running = false;
    bool terminated = false;
    Graphics* graphics = nullptr;
    double lastFrameTime = 0.0;
    double currentTime = 0.0;
    int width = 0;
    int height = 0;
    int requestedWidth = 0;
    int requestedHeight = 0;
    bool requestedFullscreen = false;
    // Swap interval 1, set once the context is current; false sets none and leaves the driver's own.
    bool requestedVsync = false;
    // What a dock and the desktop know the window by: its X class and instance name, and the image
    // file of its icon (RGBA through the asset decoder; a file that is missing or does not decode
    // leaves the window without one). Empty: the window library's own. Set before Run.
    std::string windowClass;
    std::string windowIcon;
    // False: a frame runs on every pass, nothing waits and the swap interval is 0, so frames come as
    // fast as the machine draws them (a benchmark); set before Run.
    bool paced = true;

private:
    void RunLoop();
    void SetIcon();  // windowIcon on the window, if it decodes
    void WaitForNextFrame();
    void CloseWindowLibrary();
    bool windowLibraryStarted = false;
};

}  // namespace Engine
