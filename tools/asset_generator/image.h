// An 8-bit RGBA image in memory, rows from the top down, with the few drawing operations the
// procedural textures need and PNG output. Owned by the generator step that paints it; one thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace AssetGenerator {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0;  // channels in [0, 1], straight (not premultiplied) alpha
};

Rgba Mix(const Rgba& from, const Rgba& to, double t);  // linear blend, t clamped to [0, 1]

class Image {
public:
    Image(int width, int height);  // fully transparent black

    int Width() const { return width; }           // pixels
    int Height() const { return height; }         // pixels
    bool Contains(int x, int y) const;            // true when (x, y) is a pixel of the image
    Rgba Get(int x, int y) const;                 // transparent black outside the image
    void Set(int x, int y, const Rgba& color);    // ignored outside the image
    void Blend(int x, int y, const Rgba& color);  // "over" compositing; ignored outside
    void FillRect(int x0, int y0, int x1, int y1, const Rgba& color);  // [x0, x1) x [y0, y1), clipped
    const std::vector<std::uint8_t>& Bytes() const { return pixels; }  // 4 bytes per pixel
    void WritePng(const std::string& path) const;                      // throws std::runtime_error on failure

private:
    int width;
    int height;
    std::vector<std::uint8_t> pixels;
};

}  // namespace AssetGenerator
