// Reads the bits of a compressed stream, least significant bit of each byte first, from a ByteSource
// through a small window: the stream is never held whole. Owned by the stream check that reads with
// it; one thread.
#pragma once

#include "engine/assets/byte_source.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace Engine {

class BitReader {
public:
    explicit BitReader(ByteSource& source);

    // Eight bytes from `p` as a number, the first byte lowest.
    static uint64_t LoadWord(const unsigned char* p) {
        uint64_t word;
        std::memcpy(&word, p, sizeof word);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
        word = __builtin_bswap64(word);
#endif
        return word;
    }

    // Tops the bit buffer up to at least 56 bits, or to all the bits the data has left.
    void Refill() {
        if (end - next >= 8) {
            // Bytes that do not fit wholly stay unconsumed and are loaded again to the same place.
            bits |= LoadWord(next) << count;
            next += (63 - count) >> 3;
            count |= 56;
        } else {
            RefillByBytes();
        }
    }
    unsigned Count() const { return count; }  // bits in the buffer
    uint64_t Bits() const { return bits; }    // the buffer, next bit lowest
    void Drop(unsigned n) {                   // n <= Count()
        bits >>= n;
        count -= n;
    }
    // The next `n` (at most 32) bits as a number; false when the data ends first.
    bool Take(unsigned n, uint32_t& value) {
        if (count < n) RefillByBytes();
        if (count < n) return false;
        value = static_cast<uint32_t>(bits & ((uint64_t{1} << n) - 1));
        Drop(n);
        return true;
    }
    void AlignToByte() { Drop(count & 7); }
    // At a byte boundary: moves on by `n` bytes; false when fewer are left.
    bool SkipBytes(uint64_t n);
    // At a byte boundary: true when at least `n` (at most 7) more bytes follow.
    bool HasBytes(unsigned n);

    // The reading position as a byte of the window and a bit in it, for loops that read the
    // window directly; the bytes from there to WindowEnd() are in memory. Seek moves to such a
    // position before WindowEnd().
    void Locate(const unsigned char*& byte, unsigned& bit) const {
        byte = next - (count + 7) / 8;
        bit = (8 - count % 8) % 8;
    }
    const unsigned char* WindowEnd() const { return end; }
    void Seek(const unsigned char* byte, unsigned bit);

private:
    void RefillByBytes();
    bool FillWindow();  // the next piece from the source; false at its end

    ByteSource& source;
    std::vector<unsigned char> window;    // the last bytes read before the piece, then the piece
    const unsigned char* next = nullptr;  // the first byte not yet in the buffer
    const unsigned char* end = nullptr;   // the end of the piece
    uint64_t bits = 0;   // next bit lowest; bits above `count` are those of the next bytes, or 0
    unsigned count = 0;  // bits in the buffer
};

}  // namespace Engine
