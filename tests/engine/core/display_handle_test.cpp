#include "engine/core/display_handle.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase {
    int modeWidth, modeHeight, width, height;
    int x, y;
};

TEST(DisplayHandle, WindowComesBackCentredOnTheMonitor) {
    const PlacementCase cases[] = {
        {1920, 1080, 640, 480, 640, 300},
        {1280, 720, 960, 720, 160, 0},
        {1280, 720, 641, 481, 320, 120},  // both halves truncate toward zero
        {1281, 721, 640, 480, 320, 120},
        {800, 600, 1024, 768, -112, -84},  // a window larger than the mode sits off the edge
    };
    for (const PlacementCase& c : cases) {
        const auto at = Engine::DisplayHandle::CentredPlacement(c.modeWidth, c.modeHeight, c.width, c.height);
        EXPECT_EQ(at.x, c.x) << c.width << "x" << c.height;
        EXPECT_EQ(at.y, c.y) << c.width << "x" << c.height;
    }
}

}  // namespace
