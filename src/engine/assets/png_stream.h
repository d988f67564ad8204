// Checks the compressed image data of a PNG before SOIL's decoder inflates it: that old decoder
// stops the whole process with a failed assertion on a corrupt deflate stream, so the stream is
// walked here first by a strict reader that keeps nothing of what it inflates. Stateless; any thread.
#pragma once

#include "engine/assets/byte_source.h"

#include <cstdint>

namespace Engine {

// The most bytes the filtered rows of a width x height PNG with this colour type, bit depth and
// interlacing can inflate to; 0 when the header values are not a valid combination.
uint64_t PngRawBytes(uint64_t width, uint64_t height, unsigned colorType, unsigned bitDepth, bool interlaced);

// True when `compressed` (the IDAT chunks' data in order) is a sound zlib stream that inflates to
// at most `rawBytes` bytes (which must fit an int). Holds a small window of the stream, never its
// output.
bool PngStreamInflates(ByteSource& compressed, uint64_t rawBytes);

// True when `compressedBytes` of image data (at most an int's worth) can inflate to `rawBytes`:
// a stream far too short for the image is refused, even if it is sound.
bool PngDataCanHold(uint64_t compressedBytes, uint64_t rawBytes);

}  // namespace Engine
