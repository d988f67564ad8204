#include "application/app_base.h"

#include <gtest/gtest.h>

namespace {

struct FitCase {
    float w, h, cw, ch;
    float x, y, scale;
};

TEST(AppBaseFitCanvas, LetterboxesWithOneUniformScale) {
    const FitCase cases[] = {
        {1920, 1080, 640, 480, 240, 0, 2.25f},  // wider window: bars left and right
        {640, 960, 640, 480, 0, 240, 1.0f},     // taller window: bars top and bottom
        {1280, 720, 320, 200, 64, 0, 3.6f},
        {960, 720, 320, 240, 0, 0, 3.0f},  // same proportion: the first case, no bars
        {1280, 720, 320, 240, 160, 0, 3.0f},
        {320, 240, 640, 480, 0, 0, 0.5f},  // a canvas larger than the window shrinks
        {1000, 1000, 320, 240, 0, 125, 3.125f},
    };
    for (const FitCase& c : cases) {
        const auto rect = Application::AppBase::ComputeCanvasRect(c.w, c.h, c.cw, c.ch);
        EXPECT_FLOAT_EQ(rect.x, c.x) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(rect.y, c.y) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(rect.scaleX, c.scale) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(rect.scaleY, c.scale) << c.w << "x" << c.h;
        // The canvas always fits inside the window and touches two opposite edges.
        EXPECT_LE(rect.x * 2 + c.cw * rect.scaleX, c.w + 0.01f);
        EXPECT_LE(rect.y * 2 + c.ch * rect.scaleY, c.h + 0.01f);
    }
}

}  // namespace
