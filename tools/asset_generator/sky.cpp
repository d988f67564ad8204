#include "sky.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

#include "prng.h"

namespace AssetGenerator {

namespace {

constexpr double kPi = 3.14159265358979323846;

const Rgba kZenith{0.02, 0.03, 0.10, 1.0};
const Rgba kGround{0.035, 0.035, 0.055, 1.0};

double SmoothStep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Sky colour by elevation in degrees: a warm, city-lit glow at the horizon rising through purple
// into a deep blue zenith, and a dark haze falling to the ground colour below the horizon.
Rgba SkyColor(double elevation) {
    struct Stop {
        double elevation;
        Rgba color;
    };
    static const Stop stops[] = {
        {-90.0, kGround},
        {-10.0, kGround},
        {-1.5, {0.12, 0.08, 0.13, 1.0}},
        {0.0, {0.50, 0.27, 0.30, 1.0}},
        {3.0, {0.42, 0.22, 0.32, 1.0}},
        {10.0, {0.25, 0.15, 0.34, 1.0}},
        {20.0, {0.13, 0.10, 0.28, 1.0}},
        {32.0, {0.06, 0.06, 0.19, 1.0}},
        {45.0, kZenith},
        {90.0, kZenith},
    };
    for (std::size_t i = 1; i < std::size(stops); ++i) {
        if (elevation <= stops[i].elevation) {
            const Stop& a = stops[i - 1];
            const Stop& b = stops[i];
            return Mix(a.color, b.color, SmoothStep(a.elevation, b.elevation, elevation));
        }
    }
    return kZenith;
}

// Model y on the side faces for a texture row (continuous: row r is the texel edge r).
double RowToModelY(const SkyLayout& l, double row) {
    const double first = 1.0, last = l.stripRows - 1.0;
    return l.top + (row - first) / (last - first) * (l.bottom - l.top);
}

// Elevation seen from the eye at the middle of a side face, for a model y on that face.
double ElevationAt(const SkyLayout& l, double modelY) {
    return std::atan2(modelY - l.eyeY, l.halfWidth) * 180.0 / kPi;
}

void AddStar(Image& image, int x, int y, double brightness, Prng& prng) {
    const double tint = prng.Uniform();
    const Rgba color{0.85 + 0.15 * tint, 0.88, 1.0 - 0.2 * tint, brightness};
    image.Blend(x, y, color);
    if (brightness > 0.85) {  // the brightest few get a faint cross
        const Rgba halo{color.r, color.g, color.b, brightness * 0.3};
        image.Blend(x + 1, y, halo);
        image.Blend(x - 1, y, halo);
        image.Blend(x, y + 1, halo);
        image.Blend(x, y - 1, halo);
    }
}

void PaintStrip(Image& image, const SkyLayout& l, Prng& prng) {
    for (int y = 0; y < l.stripRows; ++y) {
        const Rgba color = SkyColor(ElevationAt(l, RowToModelY(l, y + 0.5)));
        image.FillRect(0, y, l.width, y + 1, color);
    }
    // Stars fade in above the glow. They stay clear of the strip's borders so that the seams
    // against the top face and around u = 0 / u = 1 see plain gradient on both sides.
    const int margin = 4;
    for (int i = 0; i < 420; ++i) {
        const int x = prng.Int(margin, l.width - 1 - margin);
        const int y = prng.Int(margin, l.stripRows / 2);
        const double elevation = ElevationAt(l, RowToModelY(l, y + 0.5));
        const double fade = SmoothStep(8.0, 26.0, elevation);
        const double brightness = prng.Range(0.25, 1.0) * fade;
        if (brightness > 0.05) AddStar(image, x, y, brightness, prng);
    }
}

void PaintMoon(Image& image, const SkyLayout& l) {
    // On the first side face (the one ahead of the player at the start), a little right of its
    // middle and about 24 degrees up.
    const double cx = 0.16 * l.width;
    const double targetY = l.eyeY + std::tan(24.0 * kPi / 180.0) * l.halfWidth * std::hypot(1.0, 0.28);
    const double cy = 1.0 + (targetY - l.top) / (l.bottom - l.top) * (l.stripRows - 2.0);
    const double radius = 7.0, glowRadius = 46.0;
    for (int y = static_cast<int>(cy - glowRadius); y <= static_cast<int>(cy + glowRadius); ++y) {
        for (int x = static_cast<int>(cx - glowRadius); x <= static_cast<int>(cx + glowRadius); ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            const double glow = 0.22 * std::pow(std::max(0.0, 1.0 - d / glowRadius), 2.2);
            if (glow > 0.0) image.Blend(x, y, {0.75, 0.78, 0.95, glow});
            const double disc = std::clamp(radius + 0.5 - d, 0.0, 1.0);
            if (disc > 0.0) {
                // A soft terminator and two darker "seas" keep it from reading as a flat dot.
                const double shade = 0.9 + 0.1 * ((x + 0.5 - cx) / radius);
                const double sea = (std::hypot(x + 0.5 - cx + 2.0, y + 0.5 - cy + 1.5) < 2.2 ||
                                    std::hypot(x + 0.5 - cx - 1.5, y + 0.5 - cy - 2.5) < 1.8)
                                       ? 0.86
                                       : 1.0;
                image.Blend(x, y, {0.97 * shade * sea, 0.95 * shade * sea, 0.86 * shade * sea, disc});
            }
        }
    }
}

void PaintRegions(Image& image, const SkyLayout& l, Prng& prng) {
    const int s = l.regionSize, top = l.stripRows;
    image.FillRect(0, top, l.width, l.height, kZenith);
    image.FillRect(2 * s, top, 3 * s, top + s, kGround);
    // Stars overhead, inside the top face's region and clear of its uniform border.
    const int margin = l.regionInset + 6;
    for (int i = 0; i < 110; ++i) {
        const int x = prng.Int(margin, s - 1 - margin);
        const int y = top + prng.Int(margin, s - 1 - margin);
        AddStar(image, x, y, prng.Range(0.25, 1.0), prng);
    }
}

}  // namespace

Image MakeSkyImage(const SkyLayout& layout) {
    Image image(layout.width, layout.height);
    Prng prng(20240611u);
    PaintStrip(image, layout, prng);
    PaintMoon(image, layout);
    PaintRegions(image, layout, prng);
    return image;
}

ObjWriter MakeSkyboxModel(const SkyLayout& l) {
    ObjWriter obj("skybox: a box seen from inside; sides share one texture strip, u once around");
    obj.BeginObject("skybox");
    const double s = l.halfWidth;
    const double vTop = 1.0 / l.height, vBottom = (l.stripRows - 1.0) / l.height;

    // Side faces in the order met when turning right from +z (the start view); on each, u grows from
    // the viewer's left to right. left/right are the face's edge points in x-z.
    struct Side {
        glm::dvec2 left, right;
    };
    const Side sides[4] = {
        {{s, s}, {-s, s}},    // +z
        {{-s, s}, {-s, -s}},  // -x
        {{-s, -s}, {s, -s}},  // -z
        {{s, -s}, {s, s}},    // +x
    };
    for (int i = 0; i < 4; ++i) {
        const Side& side = sides[i];
        const double u0 = i / 4.0, u1 = (i + 1) / 4.0;
        const glm::dvec2 mid = (side.left + side.right) * 0.5;
        const glm::dvec3 inward(-mid.x, 0.0, -mid.y);
        obj.AddPolygon({{{side.left.x, l.bottom, side.left.y}, {u0, vBottom}},
                        {{side.right.x, l.bottom, side.right.y}, {u1, vBottom}},
                        {{side.right.x, l.top, side.right.y}, {u1, vTop}},
                        {{side.left.x, l.top, side.left.y}, {u0, vTop}}},
                       inward);
    }

    // Top and bottom map into their uniform regions; the inset keeps linear filtering off the
    // neighbouring texels.
    auto capUv = [&](int regionColumn, double x, double z) {
        const double inset = l.regionInset, span = l.regionSize - 2.0 * l.regionInset;
        const double px = regionColumn * l.regionSize + inset + (x + s) / (2.0 * s) * span;
        const double py = l.stripRows + inset + (z + s) / (2.0 * s) * span;
        return glm::dvec2(px / l.width, py / l.height);
    };
    for (int cap = 0; cap < 2; ++cap) {
        const double y = cap == 0 ? l.top : l.bottom;
        const int column = cap == 0 ? 0 : 2;
        std::vector<Corner> corners;
        for (const glm::dvec2& p :
             {glm::dvec2(-s, -s), glm::dvec2(s, -s), glm::dvec2(s, s), glm::dvec2(-s, s)})
            corners.push_back({{p.x, y, p.y}, capUv(column, p.x, p.y)});
        obj.AddPolygon(corners, {0.0, cap == 0 ? -1.0 : 1.0, 0.0});
    }
    return obj;
}

}  // namespace AssetGenerator
