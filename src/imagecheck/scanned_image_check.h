// The checks for the two image formats whose whole data must be walked before SOIL's decoder sees
// it: JPEG (marker segments) and Radiance HDR (run-length scanlines). Used by ImageAcceptable;
// stateless apart from the bytes given; any thread.
#pragma once

#include "imagecheck/image_bytes.h"

#include <cstdint>

namespace ImageCheck {

// A JPEG whose start-of-image marker ends at `start`: false when a segment would make the decoder
// loop, overrun a Huffman table or allocate planes for a size the data cannot hold.
bool JpegAcceptable(ImageBytes& bytes, uint64_t start);

// A Radiance HDR file: false whenever the decoder would fail (it crashes on its own failures),
// read past the data or unpack a run past its scanline buffer.
bool HdrAcceptable(ImageBytes& bytes);

}  // namespace ImageCheck
