// Checks the compressed image data of a PNG before SOIL's decoder inflates it: that old decoder
// stops the whole process with a failed assertion on a corrupt deflate stream, so zlib inflates the
// stream here first into a small scratch window whose bytes are thrown away. Stateless; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ImageCheck {

// Hands compressed bytes to the stream check in order, piece by piece, so that the check never
// needs the whole stream in memory. Owned by whoever runs the check; one thread at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to `capacity` of the next bytes into `out` and returns how many; 0 once the data
    // has ended or can no longer be read.
    virtual std::size_t Fill(unsigned char* out, std::size_t capacity) = 0;
};

// The bytes the filtered rows of a width x height PNG of 8 bits a sample, not interlaced, inflate
// to (the only PNGs the decoder reads); 0 for an image without pixels or an invalid colour type.
uint64_t PngRawBytes(uint64_t width, uint64_t height, unsigned colorType);

// True when `compressed` (the IDAT chunks' data in order) is a whole zlib stream, sound in its
// structure, codes, lengths, distances and check value, that inflates to exactly `rawBytes` bytes
// (at most an int's worth). Bytes after the stream's end are not looked at.
bool PngStreamInflates(ByteSource& compressed, uint64_t rawBytes);

}  // namespace ImageCheck
