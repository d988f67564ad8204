#include "support/game_harness.h"

#include "support/silent_audio.h"

#include <GLFW/glfw3.h>

#include <unistd.h>
#include <stdexcept>

namespace TestSupport {

GameHarness::~GameHarness() { Stop(); }

void GameHarness::Start(const std::string& gameFolder) {
    char here[4096];
    if (getcwd(here, sizeof here) == nullptr) throw std::runtime_error("cannot read the working directory");
    if (chdir(gameFolder.c_str()) != 0) throw std::runtime_error("cannot enter " + gameFolder);
    previousFolder = here;
    started = true;
    UseSilentAudio();
    Init();
}

void GameHarness::Frame(double delta) {
    OnUpdate(delta);
    RenderFrame(graphics);
    glfwPollEvents();
}

bool GameHarness::RunUntilLoaded(double maxSeconds, bool paced) {
    const double until = glfwGetTime() + maxSeconds;
    while (!loaded) {
        currentTime = glfwGetTime();
        if (currentTime > until) return false;
        const double delta = currentTime - lastFrameTime;
        if (paced && delta < kFramePeriod) {
            glfwPollEvents();
            continue;
        }
        lastFrameTime = currentTime;
        Frame(paced ? delta : kFramePeriod);
    }
    return true;
}

void GameHarness::MakeCurrent() {
    if (window) glfwMakeContextCurrent(window);
}

void GameHarness::Stop() {
    if (!started) return;
    started = false;
    if (!terminated) Terminate();
    if (window) {
        glfwDestroyWindow(window);
        window = nullptr;
    }
    if (chdir(previousFolder.c_str()) != 0) previousFolder.clear();
}

}  // namespace TestSupport
