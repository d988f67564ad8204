#include "engine/assets/png_stream.h"

#include "engine/assets/deflate_check.h"

#include <climits>
#include <memory>

namespace Engine {

namespace {

// Deflate cannot expand fewer bytes than this by more than this ratio (258-byte matches coded in
// one bit each, plus headers); a stream shorter than raw / ratio cannot hold the image.
constexpr uint64_t kMaxInflateRatio = 1032;

uint64_t Rows(uint64_t width, uint64_t height, unsigned bitsPerPixel) {
    if (width == 0 || height == 0) return 0;
    return height * ((width * bitsPerPixel + 7) / 8 + 1);  // each row starts with its filter byte
}

}  // namespace

uint64_t PngRawBytes(uint64_t width, uint64_t height, unsigned colorType, unsigned bitDepth,
                     bool interlaced) {
    unsigned channels = 0;
    switch (colorType) {
        case 0:
            channels = 1;
            break;
        case 2:
            channels = 3;
            break;
        case 3:
            channels = 1;
            break;
        case 4:
            channels = 2;
            break;
        case 6:
            channels = 4;
            break;
        default:
            return 0;
    }
    if (bitDepth != 1 && bitDepth != 2 && bitDepth != 4 && bitDepth != 8 && bitDepth != 16) return 0;
    const unsigned bitsPerPixel = channels * bitDepth;
    if (!interlaced) return Rows(width, height, bitsPerPixel);
    // Adam7: seven passes over sub-images, each row with its own filter byte.
    static const unsigned kStartX[7] = {0, 4, 0, 2, 0, 1, 0};
    static const unsigned kStartY[7] = {0, 0, 4, 0, 2, 0, 1};
    static const unsigned kStepX[7] = {8, 8, 4, 4, 2, 2, 1};
    static const unsigned kStepY[7] = {8, 8, 8, 4, 4, 2, 2};
    uint64_t total = 0;
    for (int pass = 0; pass < 7; ++pass) {
        const uint64_t w =
            width > kStartX[pass] ? (width - kStartX[pass] + kStepX[pass] - 1) / kStepX[pass] : 0;
        const uint64_t h =
            height > kStartY[pass] ? (height - kStartY[pass] + kStepY[pass] - 1) / kStepY[pass] : 0;
        total += Rows(w, h, bitsPerPixel);
    }
    return total;
}

bool PngStreamInflates(ByteSource& compressed, uint64_t rawBytes) {
    if (rawBytes == 0 || rawBytes > INT_MAX) return false;
    // On the heap: its tables take over 100 KiB, much for the stack of a loader thread.
    return std::make_unique<DeflateCheck>(compressed, rawBytes)->Run();
}

bool PngDataCanHold(uint64_t compressedBytes, uint64_t rawBytes) {
    return compressedBytes <= INT_MAX && compressedBytes * kMaxInflateRatio + 64 >= rawBytes;
}

}  // namespace Engine
