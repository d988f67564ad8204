#include "finish_marker.h"

#include <cmath>

namespace AssetGenerator {

namespace {

constexpr int kBeamWidth = 16, kBeamHeight = 64;
constexpr int kFloorSize = 64, kSquares = 8, kBorder = 2;
const Rgba kGold{1.0, 0.8, 0.3, 1.0};
const Rgba kWhite{1.0, 0.97, 0.88, 1.0};

}  // namespace

ObjWriter MakeFinishMarkerModel() {
    ObjWriter obj(
        "finishMarker: a beam over a finish and the chequered floor under it, one unit square "
        "(x and z 0 to 1, the beam y 0 to 1), scaled over each finish by the game");
    obj.BeginObject("beam");
    // Texel centres, so the fade's first and last rows reach the beam's foot and top.
    const double vFoot = (kBeamHeight - 0.5) / kBeamHeight, vTop = 0.5 / kBeamHeight;
    const glm::dvec2 corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (int i = 0; i < 4; ++i) {
        const glm::dvec2 a = corners[i], b = corners[(i + 1) % 4];
        const glm::dvec2 middle = (a + b) * 0.5 - glm::dvec2(0.5, 0.5);
        obj.AddPolygon({{{a.x, 0, a.y}, {0, vFoot}},
                        {{b.x, 0, b.y}, {1, vFoot}},
                        {{b.x, 1, b.y}, {1, vTop}},
                        {{a.x, 1, a.y}, {0, vTop}}},
                       glm::dvec3(middle.x, 0, middle.y));
    }
    obj.BeginObject("floor");
    obj.AddPolygon({{{0, 0, 0}, {0, 0}}, {{1, 0, 0}, {1, 0}}, {{1, 0, 1}, {1, 1}}, {{0, 0, 1}, {0, 1}}},
                   glm::dvec3(0, 1, 0));
    return obj;
}

Image MakeFinishBeamImage() {
    Image image(kBeamWidth, kBeamHeight);
    for (int y = 0; y < kBeamHeight; ++y) {
        const double rise = 1.0 - (y + 0.5) / kBeamHeight;  // 0 at the foot (the bottom row), 1 at the top
        const double fade = std::pow(1.0 - rise, 1.4);
        for (int x = 0; x < kBeamWidth; ++x) {
            // Brighter towards each side's edges, so the beam reads as a column of light from any side.
            const double across = std::fabs((x + 0.5) / kBeamWidth - 0.5) * 2.0;
            Rgba colour = Mix(kGold, kWhite, fade * 0.6);
            colour.a = std::fmin(1.0, fade * (0.45 + 0.4 * across * across));
            image.Set(x, y, colour);
        }
    }
    return image;
}

Image MakeFinishFloorImage() {
    Image image(kFloorSize, kFloorSize);
    const int square = (kFloorSize - 2 * kBorder) / kSquares;
    image.FillRect(0, 0, kFloorSize, kFloorSize, kGold);
    for (int row = 0; row < kSquares; ++row) {
        for (int column = 0; column < kSquares; ++column) {
            const double grey = (row + column) % 2 == 0 ? 0.95 : 0.08;
            const int x = kBorder + column * square, y = kBorder + row * square;
            image.FillRect(x, y, x + square, y + square, {grey, grey, grey, 1.0});
        }
    }
    return image;
}

}  // namespace AssetGenerator
