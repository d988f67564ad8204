#include "icon.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "prng.h"

namespace AssetGenerator {

namespace {

constexpr double kHorizon = 0.62;      // fraction of the height where sky meets the terrace
constexpr double kCornerRadius = 0.2;  // of the tile, as a fraction of the size
const Rgba kZenith{0.06, 0.06, 0.19, 1.0};
const Rgba kSkyGlow{0.50, 0.27, 0.30, 1.0};  // the sky's warm band just above the horizon
const Rgba kBuilding{0.045, 0.045, 0.075, 1.0};
const Rgba kFloorFar{0.10, 0.08, 0.11, 1.0};
const Rgba kFloorNear{0.30, 0.24, 0.26, 1.0};
const Rgba kSeam{0.62, 0.50, 0.42, 1.0};

// The terrace in perspective: square tiles whose seams run to a vanishing point on the horizon. Seams
// are one pixel wide wherever they are, and fade towards the horizon where they crowd together.
Rgba Floor(double u, double v, int size) {
    const double depth = (v - kHorizon) / (1.0 - kHorizon);  // 0 at the horizon, 1 at the bottom edge
    const double distance = 1.0 / std::max(depth, 1e-3);
    const double across = (u - 0.5) * distance * 3.0;  // in tiles
    const double acrossPerPixel = distance * 3.0 / size;
    const double distancePerPixel = distance * distance / ((1.0 - kHorizon) * size);
    auto seam = [](double at, double perPixel) {
        return std::clamp(1.0 - std::abs(at - std::round(at)) / perPixel, 0.0, 1.0);
    };
    const double line = std::max(seam(across, acrossPerPixel), seam(distance, distancePerPixel));
    return Mix(Mix(kFloorFar, kFloorNear, depth), kSeam, line * depth);
}

// Fraction of the pixel at (x, y) inside the rounded tile, from a 4 x 4 grid of samples.
double TileCoverage(int x, int y, int size) {
    const double radius = kCornerRadius * size;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double px = x + (sx + 0.5) / 4.0, py = y + (sy + 0.5) / 4.0;
            const double dx = std::max({radius - px, px - (size - radius), 0.0});
            const double dy = std::max({radius - py, py - (size - radius), 0.0});
            inside += dx * dx + dy * dy <= radius * radius;
        }
    return inside / 16.0;
}

void PaintSkyline(Image& image, Prng& prng) {
    const int size = image.Width();
    const int base = static_cast<int>(kHorizon * size);
    for (int x = 0; x < size;) {
        const int width = prng.Int(size / 14, size / 7);
        const int roof = base - prng.Int(size / 12, size * 7 / 24);
        image.FillRect(x, roof, x + width, base, kBuilding);
        for (int wy = roof + 3; wy + 2 < base; wy += 4)
            for (int wx = x + 2; wx + 2 < x + width; wx += 4)
                if (prng.Uniform() < 0.35) image.FillRect(wx, wy, wx + 2, wy + 2, {0.98, 0.78, 0.42, 1.0});
        x += width + prng.Int(0, 1);
    }
}

void PaintMoon(Image& image) {
    const int size = image.Width();
    const double cx = 0.74 * size, cy = 0.2 * size, r = 0.1 * size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double lit = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double shade = std::hypot(x + 0.5 - cx - 0.45 * r, y + 0.5 - cy + 0.3 * r);
            const double disc =
                std::clamp(r - lit + 0.5, 0.0, 1.0) * std::clamp(shade - 0.85 * r + 0.5, 0.0, 1.0);
            if (disc > 0.0) image.Blend(x, y, {0.97, 0.95, 0.86, disc});
        }
}

}  // namespace

Image MakeIcon(int size) {
    if (size < 16) throw std::runtime_error("icon size must be at least 16");
    Image image(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double u = (x + 0.5) / size, v = (y + 0.5) / size;
            image.Set(x, y,
                      v < kHorizon ? Mix(kZenith, kSkyGlow, std::pow(v / kHorizon, 2.5)) : Floor(u, v, size));
        }
    Prng prng(0x1c0u);
    for (int star = 0; star < size / 8; ++star)
        image.Blend(prng.Int(0, size - 1), prng.Int(0, size * 3 / 10),
                    {0.9, 0.92, 1.0, prng.Range(0.4, 1.0)});
    PaintMoon(image);
    PaintSkyline(image, prng);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            Rgba pixel = image.Get(x, y);
            pixel.a = TileCoverage(x, y, size);
            image.Set(x, y, pixel);
        }
    return image;
}

}  // namespace AssetGenerator
