#include "engine/core/application_manager.h"

#include "engine/assets/raw_bitmap.h"
#include "engine/graphics/graphics.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <stdexcept>

namespace Engine {

ApplicationManager::~ApplicationManager() {
    if (!terminated) Terminate();
}

void ApplicationManager::Run(int, char**) {
    terminated = false;
    try {
        Init();
        RunLoop();
        if (!terminated) Terminate();
    } catch (const std::runtime_error& error) {
        std::cout << error.what() << std::endl;
        if (!terminated) Terminate();
        CloseWindowLibrary();
        throw std::runtime_error("An error occurred, application terminated.");
    }
    CloseWindowLibrary();
}

void ApplicationManager::Init() {
    requestedWidth = kDefaultWidth;
    requestedHeight = kDefaultHeight;
    requestedFullscreen = false;
    requestedVsync = false;
    OnConfigure();
    if (!glfwInit()) throw std::runtime_error("Failed to initialize glfw.");
    windowLibraryStarted = true;
    InitDisplayHandle();
    OpenWindow();
    if (glewInit() != GLEW_OK) throw std::runtime_error("Failed to initialize glew.");
    RegisterCallbacks(window);
    running = true;
    graphics = new Graphics();
    graphics->windowWidth = width;
    graphics->windowHeight = height;
    lastFrameTime = currentTime = glfwGetTime();
    OnStart();
}

void ApplicationManager::OpenWindow() {
    if (!windowClass.empty()) {
        glfwWindowHintString(GLFW_X11_CLASS_NAME, windowClass.c_str());
        glfwWindowHintString(GLFW_X11_INSTANCE_NAME, windowClass.c_str());
    }
    window = glfwCreateWindow(requestedWidth, requestedHeight, "Application", nullptr, nullptr);
    if (!window) throw std::runtime_error("Failed to open a window.");
    SetIcon();
    if (requestedFullscreen) ToggleFulscreen();
    glfwMakeContextCurrent(window);
    if (!paced) {
        glfwSwapInterval(0);
    } else if (requestedVsync) {
        glfwSwapInterval(1);
    }
    glfwGetWindowSize(window, &width, &height);
}

void ApplicationManager::SetIcon() {
    if (windowIcon.empty()) return;
    std::unique_ptr<RawBitmap> icon;
    try {
        icon.reset(LoadBitmap(windowIcon));
    } catch (const std::runtime_error&) {
        return;  // an icon is no reason to stop: the window goes without
    }
    GLFWimage image{icon->width, icon->height, icon->pixels};
    glfwSetWindowIcon(window, 1, &image);
}

void ApplicationManager::RunLoop() {
    // The next frame is due one period after this one's stamp, so a stall produces one frame with a
    // large delta rather than a burst of catch-up frames.
    while (running) {
        if (glfwWindowShouldClose(window)) OnCloseRequest();
        currentTime = glfwGetTime();
        const double delta = currentTime - lastFrameTime;
        if (delta >= kFramePeriod || !paced) {
            OnUpdate(delta);
            lastFrameTime = currentTime;
            RenderFrame(graphics);
        }
        WaitForNextFrame();
    }
}

// All of the loop's pacing. Events end the wait at once, so input is handled as it comes and a
// close request is seen on the next pass; once the loop is to stop, nothing is awaited.
void ApplicationManager::WaitForNextFrame() {
    const double due = lastFrameTime + kFramePeriod;
    // A clock set back (glfwSetTime) makes the frame look further off than one period; waiting a
    // period at most keeps the loop looking at the clock.
    const double left = std::min(due - glfwGetTime(), kFramePeriod);
    if (!running || !paced || left <= 0.0) {
        glfwPollEvents();
    } else if (left > kClockWatch) {
        glfwWaitEventsTimeout(left - kClockWatch);
    } else {
        while (glfwGetTime() < due) {
        }
        glfwPollEvents();
    }
}

void ApplicationManager::RenderFrame(Graphics* frameGraphics) {
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    OnDraw(frameGraphics);
    glfwSwapBuffers(window);
}

void ApplicationManager::Terminate() {
    OnTerminate();
    if (graphics) {
        delete graphics;
        graphics = nullptr;
    }
    terminated = true;
}

void ApplicationManager::CloseWindowLibrary() {
    // Nothing uses the window after Run; closing it here lets it vanish while the process exits.
    if (window) {
        glfwDestroyWindow(window);
        window = nullptr;
    }
    if (windowLibraryStarted) {
        glfwTerminate();
        windowLibraryStarted = false;
    }
}

void ApplicationManager::OnResizeEvent(int newWidth, int newHeight) {
    glViewport(0, 0, newWidth, newHeight);
    width = newWidth;
    height = newHeight;
    if (graphics) {
        graphics->windowWidth = newWidth;
        graphics->windowHeight = newHeight;
    }
    OnViewportChanged(newWidth, newHeight);
}

void ApplicationManager::OnStart() {}
void ApplicationManager::OnConfigure() {}
void ApplicationManager::OnDraw(Graphics*) {}
void ApplicationManager::OnUpdate(double) {}
void ApplicationManager::OnTerminate() {}
void ApplicationManager::OnCloseRequest() { running = false; }
void ApplicationManager::OnViewportChanged(int, int) {}
void ApplicationManager::OnFocusChanged(bool) {}

}  // namespace Engine
