#include "level_tileset.h"

#include "level_tiles.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace AssetGenerator {

namespace {

constexpr int kSize = LevelTiles::kPixels;
constexpr int kGlyphScale = 3;
// Digits 0-9 in a 3 x 5 grid, one row of three bits per entry, top row first.
constexpr unsigned char kDigits[10][5] = {{7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 7, 1, 7},
                                          {5, 5, 7, 1, 1}, {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 1, 1, 1},
                                          {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7}};
const Rgba kInk{1, 1, 1, 1}, kOutline{0.05, 0.05, 0.08, 1};

bool DigitPixel(int digit, int x, int y) {
    return x >= 0 && y >= 0 && x < 3 && y < 5 && ((kDigits[digit][y] >> (2 - x)) & 1);
}

// White digits with a dark outline, centred in the tile whose top-left pixel is (left, top).
void DrawNumber(Image& image, int left, int top, int number) {
    const std::string text = std::to_string(number);
    const int width = static_cast<int>(text.size()) * 4 * kGlyphScale - kGlyphScale;
    const int x0 = left + (kSize - width) / 2, y0 = top + (kSize - 5 * kGlyphScale) / 2;
    auto ink = [&](int x, int y) {
        const int i = (x - x0) / (4 * kGlyphScale);
        if (x < x0 || i >= static_cast<int>(text.size())) return false;
        const int gx = (x - x0 - i * 4 * kGlyphScale), gy = y - y0;
        return gy >= 0 && DigitPixel(text[i] - '0', gx / kGlyphScale, gy / kGlyphScale) &&
               gx < 3 * kGlyphScale;
    };
    for (int y = top; y < top + kSize; ++y) {
        for (int x = left; x < left + kSize; ++x) {
            bool near = false;
            for (int oy = -1; oy <= 1 && !near; ++oy)
                for (int ox = -1; ox <= 1 && !near; ++ox) near = ink(x + ox, y + oy);
            if (ink(x, y)) {
                image.Set(x, y, kInk);
            } else if (near) {
                image.Set(x, y, kOutline);
            }
        }
    }
}

void DrawHeight(Image& image, int left, int top, int height) {
    // Low floors dark slate, high ones warm sand, so a map reads as a relief at a glance.
    const double t = (height - 1) / static_cast<double>(LevelTiles::kMaxHeight - 1);
    const Rgba fill = Mix({0.16, 0.22, 0.34, 1}, {0.86, 0.70, 0.42, 1}, std::sqrt(t));
    image.FillRect(left, top, left + kSize, top + kSize, fill);
    const Rgba edge = Mix(fill, {0, 0, 0, 1}, 0.35);
    image.FillRect(left, top, left + kSize, top + 1, edge);
    image.FillRect(left, top, left + 1, top + kSize, edge);
    DrawNumber(image, left, top, height);
}

// A chequered flag: a square of 4 x 4 checks, white and near black, framed in the outline colour.
void DrawFinish(Image& image, int left, int top) {
    constexpr int kCheck = 5, kChecks = 4, kInset = (kSize - kCheck * kChecks) / 2;
    for (int y = kInset - 1; y <= kSize - kInset; ++y) {
        for (int x = kInset - 1; x <= kSize - kInset; ++x) {
            const int u = x - kInset, v = y - kInset;
            const bool frame = u < 0 || v < 0 || u >= kCheck * kChecks || v >= kCheck * kChecks;
            const bool white = !frame && (u / kCheck + v / kCheck) % 2 == 0;
            image.Set(left + x, top + y, frame ? kOutline : white ? kInk : Rgba{0.12, 0.12, 0.14, 1});
        }
    }
}

// Local tile coordinates turned so that "up" (towards smaller y) points in `direction`.
void Turned(Direction direction, int u, int v, int& x, int& y) {
    const int n = kSize - 1;
    switch (direction) {
        case North:
            x = u, y = v;
            break;
        case East:
            x = n - v, y = u;
            break;
        case South:
            x = n - u, y = n - v;
            break;
        case West:
            x = v, y = n - u;
            break;
    }
}

void DrawRamp(Image& image, int left, int top, Direction rise) {
    for (int v = 0; v < kSize; ++v) {
        for (int u = 0; u < kSize; ++u) {
            int x = 0, y = 0;
            Turned(rise, u, v, x, y);
            // Lighter towards the high side, and an arrowhead pointing there near its edge.
            image.Set(left + x, top + y, {1, 1, 1, 0.35 * (kSize - 1 - v) / (kSize - 1)});
            const int half = std::abs(2 * u - (kSize - 1));  // distance from the middle, in half pixels
            if (v >= 2 && v <= 8 && half <= 2 * (v - 2) + 1) {
                image.Set(left + x, top + y, kInk);
            } else if (v >= 1 && v <= 9 && half <= 2 * (v - 1) + 3) {
                image.Set(left + x, top + y, kOutline);
            }
        }
    }
}

void DrawDiagonal(Image& image, int left, int top, Direction direction) {
    // Drawn for the north-east corner (solid above the line from top-left to bottom-right), then turned.
    for (int v = 0; v < kSize; ++v) {
        for (int u = 0; u < kSize; ++u) {
            int x = 0, y = 0;
            Turned(direction, u, v, x, y);
            const int side = v - u;  // > 0: the open south-west half
            if (std::abs(side) <= 1) {
                image.Set(left + x, top + y, {1.0, 0.85, 0.2, 1});
            } else if (side > 0) {
                image.Set(left + x, top + y, {0, 0, 0, (u + v) % 6 < 2 ? 0.75 : 0.5});
            }
        }
    }
}

}  // namespace

Image MakeLevelTileset() {
    const int count = static_cast<int>(LevelTiles::kLastTile);
    const int rows = (count + LevelTiles::kColumns - 1) / LevelTiles::kColumns;
    Image image(LevelTiles::kColumns * kSize, rows * kSize);
    for (int tile = 1; tile <= count; ++tile) {
        const int left = (tile - 1) % LevelTiles::kColumns * kSize,
                  top = (tile - 1) / LevelTiles::kColumns * kSize;
        const auto number = static_cast<uint32_t>(tile);
        if (number <= LevelTiles::kMaxHeight) {
            DrawHeight(image, left, top, tile);
        } else if (number == LevelTiles::kRetiredAnchor) {
            continue;  // unused, left blank
        } else if (number == LevelTiles::kFinish) {
            DrawFinish(image, left, top);
        } else if (number < LevelTiles::kFirstDiagonal) {
            DrawRamp(image, left, top, static_cast<Direction>(number - LevelTiles::kFirstRamp));
        } else {
            DrawDiagonal(image, left, top, static_cast<Direction>(number - LevelTiles::kFirstDiagonal));
        }
    }
    return image;
}

}  // namespace AssetGenerator
