// The application's window handle and its switch between a window and fullscreen on the primary
// monitor, plus cursor capture. A base of the application manager; main thread only, after the
// window library has been started.
#pragma once

struct GLFWwindow;

namespace Engine {

class DisplayHandle {
public:
    // Where a window of savedWidth x savedHeight goes to sit centred on a mode of modeWidth x
    // modeHeight (integer halves, truncated toward zero).
    struct Placement {
        int x = 0;
        int y = 0;
    };
    static Placement CentredPlacement(int modeWidth, int modeHeight, int savedWidth, int savedHeight);

    void InitDisplayHandle();  // not fullscreen
    // Window -> fullscreen at the primary monitor's current mode (remembering the window size), or
    // back to the remembered size centred on that monitor. The size event arrives with the next poll.
    void ToggleFulscreen();
    bool IsFullscreen() const { return fullscreen; }
    // Hides and captures the cursor (true) or frees and shows it (false).
    void SetCursorCaptured(bool captured);
    bool IsCursorCaptured() const;  // the window's cursor mode is "disabled"

protected:
    bool fullscreen = false;
    int savedWidth = 0;
    int savedHeight = 0;
    GLFWwindow* window = nullptr;
};

}  // namespace Engine
