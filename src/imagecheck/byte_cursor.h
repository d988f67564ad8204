// Reads the bytes of an image one after another (a file through the ImageBytes' window), for the
// checks that must walk all of the data the way the decoder will. Borrows the ImageBytes it reads;
// one thread at a time.
#pragma once

#include "imagecheck/image_bytes.h"

#include <cstdint>

namespace ImageCheck {

class ByteCursor {
public:
    ByteCursor(ImageBytes& bytes, uint64_t start);  // reads `bytes` from offset `start`

    uint64_t Position() const;       // offset of the next byte
    uint64_t Left() const;           // bytes from the position to the end
    bool Next(unsigned char& byte);  // the next byte; false at the end of the data
    void Skip(uint64_t count);       // moves on by `count` bytes (past the end is allowed)
    void Seek(uint64_t offset);      // moves to `offset`

private:
    ImageBytes& bytes;
    uint64_t position;
};

}  // namespace ImageCheck
