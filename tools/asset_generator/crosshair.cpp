#include "crosshair.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace AssetGenerator {

namespace {

// Arms are two pixels thick so the cross is symmetric about the image's centre point, which lies
// between pixels for an even size.
constexpr int kGap = 3;  // empty pixels between the centre point and each arm
constexpr int kArm = 5;  // arm length in pixels
constexpr double kOutlineAlpha = 0.8;

// True for the white pixels of the cross.
bool InCross(int x, int y, int half) {
    // Offsets from the centre point, as pixel indices on either side: -1 and 0 are the middle pair.
    const int dx = x - half, dy = y - half;
    const int ax = dx < 0 ? -dx - 1 : dx;  // 0 for the two middle columns, growing outwards
    const int ay = dy < 0 ? -dy - 1 : dy;
    const bool horizontalArm = ay == 0 && ax >= kGap && ax < kGap + kArm;
    const bool verticalArm = ax == 0 && ay >= kGap && ay < kGap + kArm;
    return horizontalArm || verticalArm;
}

}  // namespace

Image MakeCrosshair(int size) {
    if (size <= 0 || size % 2 != 0) throw std::runtime_error("crosshair size must be even");
    Image image(size, size);
    const int half = size / 2;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (InCross(x, y, half)) {
                image.Set(x, y, {1.0, 1.0, 1.0, 1.0});
                continue;
            }
            bool nearCross = false;
            for (int oy = -1; oy <= 1 && !nearCross; ++oy)
                for (int ox = -1; ox <= 1 && !nearCross; ++ox) nearCross = InCross(x + ox, y + oy, half);
            if (nearCross) image.Set(x, y, {0.05, 0.05, 0.08, kOutlineAlpha});
        }
    }
    return image;
}

}  // namespace AssetGenerator
