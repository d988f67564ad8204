// Checks the compressed image data of a PNG before SOIL's decoder inflates it: that old decoder
// stops the whole process with a failed assertion on a corrupt deflate stream, so the stream is
// inflated here first by a current, hardened inflater. Stateless; any thread.
#pragma once

#include <cstdint>
#include <vector>

namespace Engine {

// The most bytes the filtered rows of a width x height PNG with this colour type, bit depth and
// interlacing can inflate to; 0 when the header values are not a valid combination.
uint64_t PngRawBytes(uint64_t width, uint64_t height, unsigned colorType, unsigned bitDepth, bool interlaced);

// True when `compressed` (the IDAT chunks' data, joined) is a valid zlib stream that inflates to
// at most `rawBytes` bytes. Allocates `rawBytes` at most; refuses at once a stream too short to
// inflate to that much.
bool PngStreamInflates(const std::vector<unsigned char>& compressed, uint64_t rawBytes);

}  // namespace Engine
