#include "city_backdrop.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "prng.h"

namespace AssetGenerator {

namespace {

constexpr double kPi = 3.14159265358979323846;
const Rgba kGround{0.035, 0.035, 0.055, 1.0};  // matches the sky's ground, behind the lowest rows

int WorldYToRow(const CityLayout& l, double worldY) {
    const double modelY = (worldY - 50.0) / 100.0;
    return static_cast<int>(std::lround((l.top - modelY) / (l.top - l.bottom) * l.height));
}

int Wrap(int x, int width) { return ((x % width) + width) % width; }

struct WindowStyle {
    int pitchX, pitchY;  // window grid spacing
    int sizeX;           // lit width of one window
    double litChance;
};

Rgba WindowColor(Prng& prng, double dim) {
    static const Rgba palette[] = {
        {1.00, 0.82, 0.45, 1.0},  // warm incandescent
        {1.00, 0.70, 0.35, 1.0},  // sodium orange
        {0.80, 0.86, 1.00, 1.0},  // cool office white
        {0.55, 0.90, 0.85, 1.0},  // a teal sign now and then
    };
    const double pick = prng.Uniform();
    const Rgba& base = palette[pick < 0.45 ? 0 : pick < 0.7 ? 1 : pick < 0.95 ? 2 : 3];
    const double level = dim * prng.Range(0.6, 1.0);
    return {base.r * level, base.g * level, base.b * level, 1.0};
}

// One building from column x0 (wrapping) spanning `width` columns, roof at `roofRow`, standing on
// `baseRow`.
void PaintBuilding(Image& image, Prng& prng, int x0, int width, int roofRow, int baseRow, const Rgba& body,
                   const WindowStyle& style, double windowDim) {
    const int w = image.Width();
    for (int x = 0; x < width; ++x)
        for (int y = roofRow; y < baseRow; ++y) image.Set(Wrap(x0 + x, w), y, body);

    // Windows on a grid inset from the walls; some floors are dark as a whole.
    for (int y = roofRow + 2; y + 1 < baseRow; y += style.pitchY) {
        const bool floorLit = prng.Uniform() > 0.12;
        for (int x = 1; x + style.sizeX < width; x += style.pitchX) {
            if (!floorLit || prng.Uniform() > style.litChance) continue;
            const Rgba color = WindowColor(prng, windowDim);
            for (int k = 0; k < style.sizeX; ++k) image.Set(Wrap(x0 + x + k, w), y, color);
        }
    }

    // Some tall ones carry a mast with a red warning light.
    if (roofRow < 30 && prng.Uniform() < 0.5) {
        const int mastX = Wrap(x0 + width / 2, w), mastHeight = prng.Int(3, 7);
        for (int y = roofRow - mastHeight; y < roofRow; ++y) image.Set(mastX, y, body);
        image.Set(mastX, roofRow - mastHeight - 1, {0.95, 0.15, 0.12, 1.0});
    }
}

void PaintLayer(Image& image, Prng& prng, const CityLayout& l, int minWidth, int maxWidth, double minRoofY,
                double maxRoofY, const Rgba& body, const WindowStyle& style, double windowDim,
                double gapChance) {
    const int baseRow = WorldYToRow(l, l.baseWorldY);
    int x = prng.Int(0, l.width - 1);
    const int end = x + l.width;
    while (x < end) {
        const int width = prng.Int(minWidth, maxWidth);
        if (prng.Uniform() >= gapChance) {
            const int roofRow = WorldYToRow(l, prng.Range(minRoofY, maxRoofY));
            const double shade = prng.Range(0.85, 1.15);
            const Rgba tinted{body.r * shade, body.g * shade, body.b * shade, 1.0};
            PaintBuilding(image, prng, x, std::min(width, end - x), roofRow, baseRow, tinted, style,
                          windowDim);
        }
        // A one-column alley now and then, except in the back row, which keeps the skyline closed.
        x += width + (gapChance > 0.0 && prng.Uniform() < 0.3 ? 1 : 0);
    }
}

void PaintGround(Image& image, Prng& prng, const CityLayout& l) {
    const int baseRow = WorldYToRow(l, l.baseWorldY);
    const int last = l.height - 1;  // stays transparent, see MakeCityImage
    for (int y = baseRow; y < last; ++y) {
        const double t = static_cast<double>(y - baseRow) / (last - baseRow);
        const Rgba haze{0.11, 0.075, 0.10, 1.0};
        image.FillRect(0, y, l.width, y + 1, Mix(haze, kGround, std::sqrt(t)));
    }
    // Distant streets: lights that thin out further down.
    for (int i = 0; i < 900; ++i) {
        const double t = std::pow(prng.Uniform(), 1.8);
        const int y = baseRow + 1 + static_cast<int>(t * (last - 3 - baseRow));
        const int x = prng.Int(0, l.width - 1);
        Rgba color = WindowColor(prng, 0.8 * (1.0 - 0.7 * t));
        color.a = 1.0;
        image.Set(x, y, color);
    }
}

// Transparent texels take the colour of the nearest opaque one below them, so linear filtering
// along the roof line blends towards the roof colour, not towards black.
void BleedIntoTransparent(Image& image) {
    for (int x = 0; x < image.Width(); ++x) {
        Rgba below{};
        bool found = false;
        for (int y = image.Height() - 2; y >= 0; --y) {
            const Rgba here = image.Get(x, y);
            if (here.a > 0.0) {
                below = here;
                found = true;
            } else if (found) {
                image.Set(x, y, {below.r, below.g, below.b, 0.0});
            }
        }
    }
}

}  // namespace

Image MakeCityImage(const CityLayout& layout) {
    Image image(layout.width, layout.height);
    Prng prng(1987u);
    PaintGround(image, prng, layout);
    PaintLayer(image, prng, layout, 6, 18, 2.0, 22.0, {0.10, 0.085, 0.15, 1.0}, {2, 3, 1, 0.22}, 0.55, 0.0);
    PaintLayer(image, prng, layout, 10, 34, 8.0, 36.0, {0.045, 0.045, 0.075, 1.0}, {3, 3, 2, 0.33}, 1.0,
               0.35);
    BleedIntoTransparent(image);
    // The rows at both ends stay transparent: the cylinder repeats its texture vertically, so its top
    // edge samples a blend of the first and the last row, which must not show as a line in the sky.
    for (int x = 0; x < layout.width; ++x) {
        const Rgba top = image.Get(x, 0);
        image.Set(x, 0, {top.r, top.g, top.b, 0.0});
        image.Set(x, layout.height - 1, {kGround.r, kGround.g, kGround.b, 0.0});
    }
    return image;
}

ObjWriter MakeCylinderModel(const CityLayout& l) {
    ObjWriter obj("cylinder: an open cylinder of radius 1 seen from inside; u once around, v = 0 at the top");
    obj.BeginObject("cylinder");
    for (int i = 0; i < l.segments; ++i) {
        // u grows to the viewer's right: from +z towards -x, as the sky's side faces do.
        const double u0 = static_cast<double>(i) / l.segments, u1 = static_cast<double>(i + 1) / l.segments;
        const double a0 = 2.0 * kPi * u0, a1 = 2.0 * kPi * u1;
        const glm::dvec3 p0(-std::sin(a0), 0.0, std::cos(a0)), p1(-std::sin(a1), 0.0, std::cos(a1));
        const glm::dvec3 inward = -(p0 + p1);
        obj.AddPolygon({{{p0.x, l.bottom, p0.z}, {u0, 1.0}},
                        {{p1.x, l.bottom, p1.z}, {u1, 1.0}},
                        {{p1.x, l.top, p1.z}, {u1, 0.0}},
                        {{p0.x, l.top, p0.z}, {u0, 0.0}}},
                       inward);
    }
    return obj;
}

}  // namespace AssetGenerator
