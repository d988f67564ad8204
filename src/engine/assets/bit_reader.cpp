#include "engine/assets/bit_reader.h"

#include <algorithm>

namespace Engine {

namespace {

constexpr std::size_t kKept = 8;  // bytes kept before each piece: the most the buffer holds
// Each window end costs the lanes a stretch walked alone: 256 KiB keep them rare.
constexpr std::size_t kPieceBytes = std::size_t{1} << 18;

}  // namespace

BitReader::BitReader(ByteSource& from) : source(from), window(kKept + kPieceBytes) {
    next = end = window.data() + kKept;
}

bool BitReader::FillWindow() {
    // The bytes whose bits are still in the buffer stay in front of the new piece, so that
    // Locate can point at them.
    std::memmove(window.data(), end - kKept, kKept);
    const std::size_t got = source.Fill(window.data() + kKept, kPieceBytes);
    next = window.data() + kKept;
    end = next + got;
    return got > 0;
}

void BitReader::RefillByBytes() {
    while (count < 56) {
        if (next == end && !FillWindow()) return;
        bits |= uint64_t{*next++} << count;
        count += 8;
    }
}

bool BitReader::SkipBytes(uint64_t n) {
    const unsigned buffered = static_cast<unsigned>(std::min<uint64_t>(n, count / 8));
    Drop(buffered * 8);
    n -= buffered;
    if (n > 0) bits = 0;  // what stays above the buffer belongs to the bytes skipped
    while (n > 0) {
        if (next == end && !FillWindow()) return false;
        const uint64_t step = std::min<uint64_t>(n, static_cast<uint64_t>(end - next));
        next += step;
        n -= step;
    }
    return true;
}

bool BitReader::HasBytes(unsigned n) {
    if (count / 8 < n) RefillByBytes();
    return count / 8 >= n;
}

void BitReader::Seek(const unsigned char* byte, unsigned bit) {
    next = byte;
    bits = 0;
    count = 0;
    Refill();
    Drop(bit);
}

}  // namespace Engine
