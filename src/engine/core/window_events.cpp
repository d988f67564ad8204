// The five window callbacks: GLFW calls them from inside glfwPollEvents on the main thread, and
// each forwards to the one application object of the process.
#include "engine/core/application_manager.h"

#include <GLFW/glfw3.h>

namespace Engine {

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
}

}  // namespace Engine
