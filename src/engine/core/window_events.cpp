// The six window callbacks: GLFW calls them from inside glfwPollEvents on the main thread, and
// each forwards to the one application object of the process.
#include "engine/core/application_manager.h"
#include "engine/core/keys.h"

#include <GLFW/glfw3.h>

namespace Engine {

// The game reads these codes without the window library's header, so they must be its numbers.
static_assert(Key::Space == GLFW_KEY_SPACE && Key::A == GLFW_KEY_A && Key::D == GLFW_KEY_D &&
              Key::M == GLFW_KEY_M && Key::Q == GLFW_KEY_Q && Key::S == GLFW_KEY_S && Key::W == GLFW_KEY_W &&
              Key::Enter == GLFW_KEY_ENTER && Key::F1 == GLFW_KEY_F1 && Key::Escape == GLFW_KEY_ESCAPE &&
              Key::Down == GLFW_KEY_DOWN && Key::Up == GLFW_KEY_UP && Key::KeypadEnter == GLFW_KEY_KP_ENTER &&
              Key::LeftControl == GLFW_KEY_LEFT_CONTROL && Key::LeftAlt == GLFW_KEY_LEFT_ALT &&
              Key::Last == GLFW_KEY_LAST);

namespace {

ApplicationManager* eventTarget = nullptr;

void KeyCallback(GLFWwindow*, int key, int, int action, int) {
    if (!eventTarget) return;
    if (action == GLFW_PRESS)
        eventTarget->OnKeyDown(key);
    else if (action == GLFW_RELEASE)
        eventTarget->OnKeyUp(key);
}

void WindowSizeCallback(GLFWwindow*, int width, int height) {
    if (eventTarget) eventTarget->OnResizeEvent(width, height);
}

void CursorPosCallback(GLFWwindow*, double x, double y) {
    if (eventTarget) eventTarget->OnMouseMove(x, y);
}

void ScrollCallback(GLFWwindow*, double, double yoffset) {
    if (eventTarget) eventTarget->OnMouseWheel(yoffset);
}

void FocusCallback(GLFWwindow*, int focused) {
    if (eventTarget) eventTarget->OnFocusChanged(focused == GLFW_TRUE);
}

void MouseButtonCallback(GLFWwindow*, int button, int action, int) {
    if (!eventTarget) return;
    if (action == GLFW_PRESS)
        eventTarget->OnMouseDown(button);
    else if (action == GLFW_RELEASE)
        eventTarget->OnMouseUp(button);
}

}  // namespace

void ApplicationManager::RegisterCallbacks(GLFWwindow* target) {
    eventTarget = this;
    glfwSetKeyCallback(target, KeyCallback);
    glfwSetWindowSizeCallback(target, WindowSizeCallback);
    glfwSetCursorPosCallback(target, CursorPosCallback);
    glfwSetScrollCallback(target, ScrollCallback);
    glfwSetMouseButtonCallback(target, MouseButtonCallback);
    glfwSetWindowFocusCallback(target, FocusCallback);
}

}  // namespace Engine
