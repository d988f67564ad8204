#include "imagecheck/byte_cursor.h"

namespace ImageCheck {

ByteCursor::ByteCursor(ImageBytes& source, uint64_t start) : bytes(source), position(start) {}

uint64_t ByteCursor::Position() const { return position; }

uint64_t ByteCursor::Left() const { return position < bytes.Size() ? bytes.Size() - position : 0; }

bool ByteCursor::Next(unsigned char& byte) {
    if (!bytes.Read(position, &byte, 1)) return false;
    ++position;
    return true;
}

void ByteCursor::Skip(uint64_t count) { position += count; }

void ByteCursor::Seek(uint64_t offset) { position = offset; }

}  // namespace ImageCheck
