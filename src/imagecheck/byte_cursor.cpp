#include "imagecheck/byte_cursor.h"

#include <algorithm>
#include <cstddef>

namespace ImageCheck {

ByteCursor::ByteCursor(ImageBytes& source, uint64_t start) : bytes(source), position(start) {}

uint64_t ByteCursor::Position() const { return position; }

uint64_t ByteCursor::Left() const { return position < bytes.Size() ? bytes.Size() - position : 0; }

bool ByteCursor::Next(unsigned char& byte) {
    // Refill the window when the position left it: files are read in 64 KiB pieces, not per byte.
    if (position < windowStart || position >= windowStart + window.size()) {
        const uint64_t length = std::min<uint64_t>(Left(), 1 << 16);
        if (length == 0) return false;
        window.resize(static_cast<std::size_t>(length));
        if (!bytes.Read(position, window.data(), window.size())) return false;
        windowStart = position;
    }
    byte = window[static_cast<std::size_t>(position - windowStart)];
    ++position;
    return true;
}

void ByteCursor::Skip(uint64_t count) { position += count; }

void ByteCursor::Seek(uint64_t offset) { position = offset; }

}  // namespace ImageCheck
