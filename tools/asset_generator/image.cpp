#include "image.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "stb_api.h"

namespace AssetGenerator {

namespace {

std::uint8_t ToByte(double channel) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(channel, 0.0, 1.0) * 255.0));
}

}  // namespace

Rgba Mix(const Rgba& from, const Rgba& to, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
            from.a + (to.a - from.a) * t};
}

Image::Image(int width, int height)
    : width(width), height(height), pixels(static_cast<std::size_t>(width) * height * 4, 0) {
    if (width <= 0 || height <= 0) throw std::runtime_error("image size must be positive");
}

bool Image::Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

Rgba Image::Get(int x, int y) const {
    if (!Contains(x, y)) return {};
    const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0, p[3] / 255.0};
}

void Image::Set(int x, int y, const Rgba& color) {
    if (!Contains(x, y)) return;
    std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];
    p[0] = ToByte(color.r);
    p[1] = ToByte(color.g);
    p[2] = ToByte(color.b);
    p[3] = ToByte(color.a);
}

void Image::Blend(int x, int y, const Rgba& color) {
    if (!Contains(x, y)) return;
    const Rgba under = Get(x, y);
    const double a = std::clamp(color.a, 0.0, 1.0);
    const double outA = a + under.a * (1.0 - a);
    if (outA <= 0.0) return;
    auto channel = [&](double top, double bottom) { return (top * a + bottom * under.a * (1.0 - a)) / outA; };
    Set(x, y, {channel(color.r, under.r), channel(color.g, under.g), channel(color.b, under.b), outA});
}

void Image::FillRect(int x0, int y0, int x1, int y1, const Rgba& color) {
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) Set(x, y, color);
}

void Image::WritePng(const std::string& path) const {
    if (!stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace AssetGenerator
