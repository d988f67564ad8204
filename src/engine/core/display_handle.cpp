#include "engine/core/display_handle.h"

#include <GLFW/glfw3.h>

namespace Engine {

DisplayHandle::Placement DisplayHandle::CentredPlacement(int modeWidth, int modeHeight, int width,
                                                         int height) {
    return Placement{modeWidth / 2 - width / 2, modeHeight / 2 - height / 2};
}

void DisplayHandle::InitDisplayHandle() { fullscreen = false; }

void DisplayHandle::ToggleFulscreen() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    // Without a monitor there is nothing to switch to; the window stays as it is.
    if (!mode) return;
    if (!fullscreen) {
        glfwGetWindowSize(window, &savedWidth, &savedHeight);
        glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    } else {
        const Placement at = CentredPlacement(mode->width, mode->height, savedWidth, savedHeight);
        glfwSetWindowMonitor(window, nullptr, at.x, at.y, savedWidth, savedHeight, 0);
    }
    fullscreen = !fullscreen;
}

void DisplayHandle::SetCursorCaptured(bool captured) {
    glfwSetInputMode(window, GLFW_CURSOR, captured ? GLFW_CURSOR_DISABLED : GLFW_CURSOR_NORMAL);
}

bool DisplayHandle::IsCursorCaptured() const {
    return glfwGetInputMode(window, GLFW_CURSOR) == GLFW_CURSOR_DISABLED;
}

}  // namespace Engine
