#include "application/hud.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using Application::HUD;

namespace {

std::string Counter(float fps) {
    std::string text;
    HUD::FormatCounter(fps, text);
    return text;
}

TEST(HUDTest, CounterShowsSixtyOverDtRounded) {
    const struct {
        float dt;
        const char* text;
    } cases[] = {
        {1.0f, "FPS: 60"}, {2.0f, "FPS: 30"}, {1.5f, "FPS: 40"}, {1.6f, "FPS: 38"}, {240.0f, "FPS: 0"}};
    for (const auto& c : cases) {
        HUD hud;
        hud.UpdateHUD(c.dt);
        EXPECT_EQ(Counter(hud.fps), c.text) << c.dt;
    }
    EXPECT_EQ(Counter(HUD().fps), "FPS: 0") << "before the first update";
}

TEST(HUDTest, CounterSaturatesWhereAnIntCannotHoldTheValue) {
    const float inf = std::numeric_limits<float>::infinity();  // what a zero dt would give
    EXPECT_EQ(Counter(inf), "FPS: 2147483647");
    EXPECT_EQ(Counter(-inf), "FPS: -2147483648");
    EXPECT_EQ(Counter(3e9f), "FPS: 2147483647");
    EXPECT_EQ(Counter(std::nanf("")), "FPS: 0");
}

TEST(HUDTest, CrosshairIsCentredInIntegerPixelsAndTheHintKeepsToTheBottom) {
    const struct {
        int width, height, x, y;
        float hint;
    } cases[] = {{320, 240, 144, 104, 227.0f},
                 {640, 480, 304, 224, 467.0f},
                 {33, 33, 0, 0, 20.0f},
                 {321, 201, 144, 84, 188.0f},
                 {10, 4, -11, -14, -9.0f}};
    for (const auto& c : cases) {
        EXPECT_EQ(HUD::CrosshairPosition(c.width, c.height), Engine::Point(c.x, c.y))
            << c.width << "x" << c.height;
        EXPECT_EQ(HUD::HintRow(c.height), c.hint) << c.width << "x" << c.height;
    }
}

}  // namespace
