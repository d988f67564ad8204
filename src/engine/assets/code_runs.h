// What the next bits of a coded deflate block hold, read ahead through a literal or a whole match
// (length, distance and their extra bits) and, when its codes fit in the rest of the bits, the
// literal or match after it: one lookup moves the stream check past up to two codes. Built for
// each block from its two codes; owned by the stream check; one thread.
#pragma once

#include "engine/assets/huffman_code.h"

#include <array>
#include <cstdint>

namespace Engine {

class CodeRuns {
public:
    static constexpr unsigned kTableBits = 12;
    static constexpr uint64_t kTableMask = (uint64_t{1} << kTableBits) - 1;
    static constexpr uint64_t kMore = uint64_t{1} << 63;

    // Distances are not compared with what has been made: the table serves only once 32 KiB
    // have been, when every distance reaches back into them.
    void Build(const HuffmanCode& literals, const HuffmanCode& distances);

    // The entry for the bits at the bottom of `bits`: in the low half the bits its codes take in
    // all, from bit 32 the bytes they make, and kMore when the walk must look further: the codes
    // end with a match length whose distance code did not fit and is read next, or (with no
    // bits) the first code is none the table reads through (the end of the block, a long code,
    // ...). The bits and the bytes made add up in one number: a walk keeps their sums by adding
    // entries.
    uint64_t Lookup(uint64_t bits) const { return table[bits & kTableMask]; }
    static unsigned Bits(uint64_t entry) { return static_cast<unsigned>(entry & 0x3F); }
    // For an entry with kMore and no bits: the entry of the literal whose code is longer than
    // the index, from the bits after it; kMore when it is none.
    uint64_t Long(uint64_t entry, uint64_t bits) const {
        return longs[(entry >> 32 & 0x7FFFFFFF) * kLongGroup + (bits >> kTableBits & (kLongGroup - 1))];
    }
    static uint64_t Made(uint64_t entry) { return (entry >> 32) & 0x7FFFFFFF; }

private:
    static constexpr unsigned kMaxCodeBits = 15;
    static constexpr unsigned kLongGroup = 1u << (kMaxCodeBits - kTableBits);
    void LongCodes(const std::array<HuffmanCode::ShortCode, 288>& codes, unsigned from, unsigned to);

    std::array<uint64_t, 1u << kTableBits> table{};
    std::array<uint64_t, (288 + 1) * kLongGroup> longs{};  // groups of entries for long codes
    // The first unit of small indices alone, and the bits its codes need within the index.
    std::array<uint64_t, (1u << kTableBits) / 2> first{};
    std::array<uint8_t, (1u << kTableBits) / 2> firstNeeds{};
    // The entries after one code's bits: for the literals of one length, or the distance units
    // after one length code.
    std::array<uint64_t, (1u << kTableBits) / 2> row{};
    // For the distance code at each index of the distance table: its bits, and with its extra bits.
    std::array<uint8_t, 1u << HuffmanCode::kTableBits> distanceNeeds{};
    std::array<uint8_t, 1u << HuffmanCode::kTableBits> distanceBits{};
};

}  // namespace Engine
