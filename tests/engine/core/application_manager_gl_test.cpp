// The application loop with a real window: hook order, frame gating, close requests, resizes and
// the error path, observed through a recording application.
#include "engine/core/application_manager.h"

#include "engine/graphics/graphics.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// What the program last asked glfwSwapInterval for, and whether a context was current then.
struct SwapIntervalCall {
    int calls = 0;
    int interval = -1;
    bool contextCurrent = false;
} swapIntervalCall;

}  // namespace

// Stands in for GLFW's own in this test binary, records the call and passes it on.
void glfwSwapInterval(int interval) {
    swapIntervalCall = {swapIntervalCall.calls + 1, interval, glfwGetCurrentContext() != nullptr};
    using Real = void (*)(int);
    reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glfwSwapInterval"))(interval);
}

namespace {

class Recorder : public Engine::ApplicationManager {
public:
    std::vector<std::string> log;
    std::vector<double> deltas;
    int frames = 0;
    int stopAfterFrames = 3;
    int closeRequests = 0;
    bool stopOnClose = true;
    bool vsync = false;
    std::function<void(Recorder&)> onStart;
    std::function<void(Recorder&)> onUpdate;
    std::function<void()> onConfigure;

    void OnConfigure() override {
        log.push_back("configure");
        requestedWidth = 320;
        requestedHeight = 200;
        requestedVsync = vsync;
        if (onConfigure) onConfigure();
    }
    void OnStart() override {
        log.push_back("start");
        if (onStart) onStart(*this);
    }
    void OnUpdate(double delta) override {
        log.push_back("update");
        deltas.push_back(delta);
        if (onUpdate) onUpdate(*this);
        if (++frames >= stopAfterFrames) running = false;
    }
    void OnDraw(Engine::Graphics* g) override { log.push_back(g == graphics ? "draw" : "draw(other)"); }
    void OnTerminate() override { log.push_back("terminate"); }
    void OnCloseRequest() override {
        log.push_back("close");
        ++closeRequests;
        if (stopOnClose) ApplicationManager::OnCloseRequest();
    }
    void OnViewportChanged(int w, int h) override {
        log.push_back("viewport " + std::to_string(w) + "x" + std::to_string(h));
    }

    Engine::Graphics* GetGraphics() const { return graphics; }
    GLFWwindow* GetWindow() const { return window; }
    int Width() const { return width; }
    int Height() const { return height; }
    bool IsTerminated() const { return terminated; }
    void Stop() { running = false; }
};

std::string Joined(const std::vector<std::string>& log) {
    std::string text;
    for (const std::string& entry : log) text += entry + ";";
    return text;
}

TEST(ApplicationManager, HooksRunInOrderAndTerminateOnce) {
    Recorder app;
    bool sawWindow = false;
    app.onStart = [&](Recorder& a) {
        sawWindow = a.GetWindow() != nullptr && a.GetGraphics() != nullptr && a.Width() == 320 &&
                    a.GetGraphics()->windowWidth == 320 && a.GetGraphics()->windowHeight == 200;
    };
    testing::internal::CaptureStdout();
    app.Run(0, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(Joined(app.log), "configure;start;update;draw;update;draw;update;draw;terminate;");
    EXPECT_TRUE(app.IsTerminated());
    EXPECT_EQ(app.GetGraphics(), nullptr);
    for (double delta : app.deltas) EXPECT_GE(delta, Engine::ApplicationManager::kFramePeriod);
}

TEST(ApplicationManager, AStallGivesOneFrameWithALargeDelta) {
    // The stall is the clock jumping 1000 s ahead during the first frame: far more than any real
    // pause of a test run, so exactly one frame can see it. A loop that caught up would follow it
    // with more late frames, or spread the stall over frames of one period each.
    constexpr double Stall = 1000.0;
    Recorder app;
    app.stopAfterFrames = 5;
    app.onUpdate = [](Recorder& a) {
        if (a.frames == 0) glfwSetTime(glfwGetTime() + Stall);
    };
    app.Run(0, nullptr);
    ASSERT_EQ(app.deltas.size(), 5u);
    EXPECT_LT(app.deltas[0], Stall / 2);
    EXPECT_GE(app.deltas[1], Stall);
    for (size_t frame = 2; frame < app.deltas.size(); ++frame)
        EXPECT_LT(app.deltas[frame], Stall / 2) << frame;
}

TEST(ApplicationManager, CloseButtonStopsTheLoop) {
    Recorder app;
    app.stopAfterFrames = 1000;
    app.onUpdate = [](Recorder& a) {
        if (a.frames == 1) glfwSetWindowShouldClose(a.GetWindow(), GLFW_TRUE);
    };
    app.Run(0, nullptr);
    EXPECT_EQ(app.closeRequests, 1);
    EXPECT_LT(app.frames, 1000);
    EXPECT_EQ(app.log.back(), "terminate");
}

TEST(ApplicationManager, ACloseRequestThatIsRefusedComesAgainEveryPass) {
    Recorder app;
    app.stopOnClose = false;
    app.stopAfterFrames = 1000;
    app.onUpdate = [](Recorder& a) {
        if (a.frames == 0) glfwSetWindowShouldClose(a.GetWindow(), GLFW_TRUE);
        if (a.frames == 3) a.Stop();
    };
    app.Run(0, nullptr);
    EXPECT_GE(app.closeRequests, 3);  // at least once per pass, and passes outnumber frames
    EXPECT_EQ(app.frames, 4);
}

TEST(ApplicationManager, TheLoopWaitsForTheNextFrameInsteadOfSpinning) {
    // A refused close request comes once per pass, so it counts the passes. Waiting on events until a
    // frame is due takes one or two passes per frame (plus one per event that wakes it); a loop that
    // polls without waiting makes hundreds in the same 1/60 s.
    constexpr int Counted = 20;
    Recorder app;
    app.stopOnClose = false;
    app.stopAfterFrames = 10 + Counted;
    int passesBefore = 0;
    app.onUpdate = [&](Recorder& a) {
        if (a.frames == 0) glfwSetWindowShouldClose(a.GetWindow(), GLFW_TRUE);
        if (a.frames == 10) passesBefore = a.closeRequests;  // past the events of a new window
    };
    app.Run(0, nullptr);
    EXPECT_LE(app.closeRequests - passesBefore, 4 * Counted);
}

TEST(ApplicationManager, VsyncAsksForOneRefreshOnceTheContextIsCurrent) {
    for (const bool vsync : {false, true}) {
        swapIntervalCall = {};
        Recorder app;
        app.vsync = vsync;
        app.stopAfterFrames = 1;
        app.Run(0, nullptr);
        EXPECT_EQ(swapIntervalCall.calls, vsync ? 1 : 0) << "without vsync the driver's own interval stays";
        if (vsync) {
            EXPECT_EQ(swapIntervalCall.interval, 1);
            EXPECT_TRUE(swapIntervalCall.contextCurrent);
        }
    }
}

TEST(ApplicationManager, ResizeUpdatesViewportAndSizesThenTheViewportHook) {
    Recorder app;
    app.stopAfterFrames = 1;
    GLint viewport[4] = {0, 0, 0, 0};
    int seenWidth = 0;
    int seenHeight = 0;
    app.onUpdate = [&](Recorder& a) {
        a.OnResizeEvent(1024, 768);
        glGetIntegerv(GL_VIEWPORT, viewport);
        seenWidth = a.GetGraphics()->windowWidth;
        seenHeight = a.GetGraphics()->windowHeight;
    };
    app.Run(0, nullptr);
    EXPECT_EQ(seenWidth, 1024);
    EXPECT_EQ(seenHeight, 768);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);
    EXPECT_NE(Joined(app.log).find("update;viewport 1024x768;draw;"), std::string::npos) << Joined(app.log);
}

TEST(ApplicationManager, ErrorInAHookPrintsTerminatesOnceAndThrowsTheFinalMessage) {
    Recorder app;
    app.onStart = [](Recorder&) { throw std::runtime_error("boom"); };
    testing::internal::CaptureStdout();
    try {
        app.Run(0, nullptr);
        ADD_FAILURE() << "Run returned";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "An error occurred, application terminated.");
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "boom\n");
    EXPECT_EQ(Joined(app.log), "configure;start;terminate;");
    EXPECT_EQ(app.GetGraphics(), nullptr);  // created before the start hook, deleted by Terminate
}

TEST(ApplicationManager, ErrorWhileConfiguringNeverCreatesGraphics) {
    Recorder app;
    app.onConfigure = [] { throw std::runtime_error("bad config"); };
    testing::internal::CaptureStdout();
    EXPECT_THROW(app.Run(0, nullptr), std::runtime_error);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bad config\n");
    EXPECT_EQ(Joined(app.log), "configure;terminate;");
}

TEST(ApplicationManager, OtherExceptionTypesPassThroughUntouched) {
    Recorder app;
    app.onStart = [](Recorder&) { throw std::logic_error("not mine"); };
    EXPECT_THROW(app.Run(0, nullptr), std::logic_error);
    EXPECT_FALSE(app.IsTerminated());
    EXPECT_EQ(Joined(app.log), "configure;start;");
}

}  // namespace
