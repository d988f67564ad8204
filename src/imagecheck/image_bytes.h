// The bytes of an image, from a file or from memory, read at given offsets: the checks look at a few
// bytes here and there and never need the whole file in memory. Also the byte-order readers and the
// size limit every check shares. Owned by whoever checks the image; one thread at a time.
#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace ImageCheck {

class ImageBytes {
public:
    explicit ImageBytes(const std::string& path);               // a file; IsOpen() false if unreadable
    ImageBytes(const unsigned char* data, std::size_t length);  // borrowed memory, not copied

    bool IsOpen() const;    // the bytes can be read
    uint64_t Size() const;  // number of bytes
    // Reads `count` bytes at `offset`; false when the image is shorter than that.
    bool Read(uint64_t offset, unsigned char* out, std::size_t count);
    // Reads up to `count` bytes at `offset` and zeros the rest, as the decoder reads a header cut
    // short; false only when the bytes cannot be read at all.
    bool ReadPadded(uint64_t offset, unsigned char* out, std::size_t count);

private:
    std::ifstream in;
    const unsigned char* memory = nullptr;
    uint64_t size = 0;
    // Small reads of a file go through a window of it: a walk over many small chunks reads their
    // headers one after another, and a seek of the stream drops what it had buffered.
    std::vector<unsigned char> window;
    uint64_t windowStart = 0;
};

// Largest width or height accepted, in pixels. Larger than any texture the game ships and than
// most drivers accept; small enough that width * height * 4 always fits the decoder's int arithmetic.
inline constexpr int64_t kMaxImageDimension = 16384;

// Byte-order readers for header fields.
inline uint32_t Be16(const unsigned char* p) { return (uint32_t{p[0]} << 8) | p[1]; }
inline uint32_t Be32(const unsigned char* p) { return (Be16(p) << 16) | Be16(p + 2); }
inline uint32_t Le16(const unsigned char* p) { return (uint32_t{p[1]} << 8) | p[0]; }
inline uint32_t Le32(const unsigned char* p) { return (Le16(p + 2) << 16) | Le16(p); }

// Both sizes within the limit and width * height * 4 within an int.
inline bool DimensionsPlausible(int64_t width, int64_t height) {
    if (width < 0 || height < 0 || width > kMaxImageDimension || height > kMaxImageDimension) return false;
    return width * height * 4 <= INT_MAX;
}

}  // namespace ImageCheck
