// Screening of image bytes before they reach SOIL's decoder, which trusts the header it reads: it
// allocates width * height * channels bytes without overflow checks, reads past the end of a
// buffer in memory and writes past a scanline on bad run lengths. The checks refuse what the
// decoder must not see. Stateless apart from the bytes given; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace Engine {

// The bytes of an image, from a file or from memory, read at given offsets: the checks look at a
// few bytes here and there and never need the whole file in memory.
class ImageBytes {
public:
    explicit ImageBytes(const std::string& path);               // a file; IsOpen() false if unreadable
    ImageBytes(const unsigned char* data, std::size_t length);  // borrowed memory, not copied

    bool IsOpen() const;    // the bytes can be read
    uint64_t Size() const;  // number of bytes
    // Reads `count` bytes at `offset`; false when the image is shorter than that.
    bool Read(uint64_t offset, unsigned char* out, std::size_t count);

private:
    std::ifstream in;
    const unsigned char* memory = nullptr;
    uint64_t size = 0;
};

// Largest width or height accepted, in pixels.
inline constexpr int64_t kMaxImageDimension = 16384;

// False when the bytes cannot be read or must not reach the decoder: a header claiming absurd
// dimensions, or data the decoder would read past the end of or unpack past its buffers.
bool ImageAcceptable(ImageBytes& bytes);

}  // namespace Engine
