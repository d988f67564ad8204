// Writes the large photograph-like PNG the image loading benchmark decodes: the same bytes on every
// run, so that figures of different runs compare. Stateless; any thread.
#pragma once

#include <cstdint>
#include <string>

namespace Bench {

struct PhotoPngSizes {
    uint64_t rawBytes = 0;         // filtered rows, as the decoder inflates them
    uint64_t compressedBytes = 0;  // the zlib stream in the IDAT chunks
};

// An RGB image of `width` x `height`: light and shapes from smooth noise over several scales, fine
// texture and per-pixel sensor-like noise; each row filtered as encoders usually choose (the filter
// with the least sum of absolute differences), zlib at its default level, 8 KiB IDAT chunks as
// libpng writes them. False when the file cannot be written.
// `noisy`: fractal colour clouds under strong per-pixel noise instead, a noisy photograph written as
// ImageMagick writes one (zlib level 7, memory level 9, filtered strategy, 32 KiB IDAT chunks): its
// stream is almost all literals.
bool WritePhotoPng(const std::string& path, int width, int height, PhotoPngSizes& sizes, bool noisy = false);

}  // namespace Bench
