// Screening of image bytes before they reach SOIL's decoder, which trusts the header it reads: it
// allocates width * height * channels bytes without overflow checks, reads past the end of a
// buffer in memory and writes past a scanline on bad run lengths. The checks refuse what the
// decoder must not see. Stateless apart from the bytes given; any thread.
#pragma once

#include "imagecheck/image_bytes.h"

#include <cstdint>

namespace ImageCheck {

// The formats the decoder tells apart by their first bytes; anything else it tries as TGA.
enum class ImageFormat { kPng, kJpeg, kBmp, kPsd, kDds, kHdr, kOther };

// The format of `bytes`, told as the decoder tells it. For a JPEG, `jpegStart` is the offset just
// after its start-of-image marker: the decoder takes any run of 0xFF fill bytes before it.
ImageFormat FormatOf(ImageBytes& bytes, uint64_t& jpegStart);

// A BMP's file and information headers, in both layouts (12 bytes, or 40 and the longer ones that
// begin like it); a header cut short reads as zeros, as the decoder reads it.
struct BmpHeader {
    uint32_t headerSize = 0;  // 12, 40, 56 or 108 for the layouts the decoder reads
    int64_t width = 0;
    int64_t height = 0;  // rows, whichever way they run
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;    // 0 none, 3 bit fields
    uint64_t dataOffset = 0;     // where the rows start
    uint64_t DataBytes() const;  // the rows' bytes, each row padded to 4 bytes
};
bool ReadBmpHeader(ImageBytes& bytes, BmpHeader& header);  // false when the bytes cannot be read

// False when the bytes cannot be read or must not reach the decoder: a header claiming absurd
// dimensions, or data the decoder would read past the end of or unpack past its buffers.
bool ImageAcceptable(ImageBytes& bytes);

}  // namespace ImageCheck
