#include "engine/assets/code_runs.h"

#include <algorithm>

namespace Engine {

namespace {

using Code = HuffmanCode;
constexpr unsigned kSize = 1u << CodeRuns::kTableBits;

// While the table is built, bits 8 to 11 of an entry hold the bits its codes need within the
// table's index (a last distance's extra bits may lie beyond it).
constexpr unsigned kNeededShift = 8;
constexpr uint64_t kNeededMask = uint64_t{0xF} << kNeededShift;

uint64_t Unit(unsigned bits, unsigned needed, uint64_t made) {
    return bits | (uint64_t{needed} << kNeededShift) | (made << 32);
}

constexpr unsigned kDistanceIndices = 1u << HuffmanCode::kTableBits;
constexpr uint8_t kNoFit = 0xFF;

unsigned Needed(uint64_t entry) { return static_cast<unsigned>((entry & kNeededMask) >> kNeededShift); }

// The distance part of a match whose length code and extra bits take `lengthBits`, for the
// distance code at the bottom of `rest`: its bits when the code fits in the table's index, else
// the flag.
uint64_t DistanceUnit(unsigned lengthBits, unsigned rest, const HuffmanCode& distances) {
    const uint32_t distance = distances.Lookup(rest);
    const unsigned needed = lengthBits + Code::CodeBits(distance);
    if (Code::Is(distance, Code::kSymbol) && needed <= CodeRuns::kTableBits)
        return Unit(lengthBits + Code::Bits(distance), needed, 0);
    return Unit(lengthBits, lengthBits, 0) | CodeRuns::kMore;
}

// The literal or match that index `i` begins with, `code` being its first code.
uint64_t FirstUnit(uint32_t code, unsigned i, const HuffmanCode& distances) {
    if (Code::Is(code, Code::kLiteral)) return Unit(Code::CodeBits(code), Code::CodeBits(code), 1);
    if (!Code::Is(code, Code::kLength) || Code::Bits(code) > CodeRuns::kTableBits) return 0;
    const uint64_t made = Code::ValueWithExtra(code, i);
    return DistanceUnit(Code::Bits(code), i >> Code::Bits(code), distances) + (made << 32);
}

}  // namespace

// A literal code longer than the index is looked up again with the bits after the index, in a
// group of 8 entries that its index's entry names: the walk takes it without a call.
void CodeRuns::LongCodes(const std::array<HuffmanCode::ShortCode, 288>& codes, unsigned from, unsigned to) {
    std::fill(longs.begin(), longs.begin() + kLongGroup, kMore);  // group 0: none
    unsigned groups = 1;
    for (unsigned n = from; n < to; ++n) {
        const unsigned index = codes[n].reversed & kTableMask;
        if (table[index] == kMore) {
            table[index] = kMore | uint64_t{groups} << 32;
            std::fill(longs.begin() + groups * kLongGroup, longs.begin() + (groups + 1) * kLongGroup, kMore);
            ++groups;
        }
        const unsigned length = Code::CodeBits(codes[n].entry);
        const uint64_t unit = Code::Is(codes[n].entry, Code::kLiteral) ? Unit(length, 0, 1) : kMore;
        uint64_t* const group = longs.data() + (table[index] >> 32 & 0x7FFFFFFF) * kLongGroup;
        for (unsigned i = codes[n].reversed >> kTableBits; i < kLongGroup; i += 1u << (length - kTableBits))
            group[i] = unit;
    }
}

void CodeRuns::Build(const HuffmanCode& literals, const HuffmanCode& distances) {
    std::array<HuffmanCode::ShortCode, 288> codes;
    const unsigned all = literals.ShortCodes(kMaxCodeBits, codes);
    // Codes come shortest first: those past `count` are longer than the index.
    unsigned count = 0;
    while (count < all && Code::CodeBits(codes[count].entry) <= kTableBits) ++count;
    table.fill(kMore);  // the end of the block, long codes and unused ones
    LongCodes(codes, count, all);
    if (count == 0) return;
    // The units that can follow a literal: the first unit of every index below 2^(bits left
    // after the shortest literal), as if the bits above were 0.
    unsigned shortest = kTableBits;
    for (unsigned n = 0; n < count; ++n) {
        if (Code::Is(codes[n].entry, Code::kLiteral))
            shortest = std::min(shortest, Code::CodeBits(codes[n].entry));
    }
    const unsigned small = kSize >> shortest;
    std::fill(first.begin(), first.begin() + small, 0);
    std::fill(firstNeeds.begin(), firstNeeds.begin() + small, 0);
    for (unsigned n = 0; n < count; ++n) {
        for (unsigned i = codes[n].reversed; i < small; i += 1u << Code::CodeBits(codes[n].entry)) {
            const uint64_t unit = FirstUnit(codes[n].entry, i, distances);
            first[i] = unit & ~kNeededMask;
            firstNeeds[i] = static_cast<uint8_t>(Needed(unit));
        }
    }
    // What the distance code at each index needs, for the rows after a length code: its bits
    // within the index (kNoFit when it is no distance) and its bits with the extra bits.
    unsigned rests = 0;
    for (unsigned n = 0; n < count; ++n) {
        if (Code::Is(codes[n].entry, Code::kLength) && Code::Bits(codes[n].entry) <= kTableBits)
            rests = std::max(rests, std::min(kSize >> Code::Bits(codes[n].entry), kDistanceIndices));
    }
    for (unsigned rest = 0; rest < rests; ++rest) {
        const uint32_t distance = distances.Lookup(rest);
        distanceNeeds[rest] =
            Code::Is(distance, Code::kSymbol) ? static_cast<uint8_t>(Code::CodeBits(distance)) : kNoFit;
        distanceBits[rest] = static_cast<uint8_t>(Code::Bits(distance));
    }
    unsigned rowLength = 0;  // the literal code length `row` is made for
    unsigned rowMatch = 0;   // the length code and extra bits `row` is made for
    for (unsigned n = 0; n < count; ++n) {
        const uint32_t code = codes[n].entry;
        const unsigned length = Code::CodeBits(code);
        const unsigned reversed = codes[n].reversed;
        if (Code::Is(code, Code::kLiteral)) {
            // A literal, and the unit after it when its codes fit in the bits left: the same for
            // every literal code of this length.
            const unsigned left = kTableBits - length;
            if (rowLength != length) {
                rowLength = length;
                rowMatch = 0;
                const uint64_t literal = Unit(length, 0, 1);
                for (unsigned rest = 0; rest < (1u << left); ++rest)
                    row[rest] = firstNeeds[rest] <= left ? literal + first[rest] : literal;
            }
            for (unsigned rest = 0, i = reversed; rest < (1u << left); ++rest, i += 1u << length)
                table[i] = row[rest];
        } else if (Code::Is(code, Code::kLength) && Code::Bits(code) <= kTableBits) {
            // The distance after the length code, or the flag when its code does not fit: the
            // same for every length code with as many bits.
            const unsigned lengthBits = Code::Bits(code);
            const unsigned after = kSize >> lengthBits;
            rowLength = 0;
            if (rowMatch != lengthBits) {
                rowMatch = lengthBits;
                const unsigned left = kTableBits - lengthBits;
                for (unsigned rest = 0; rest < after; ++rest) {
                    const unsigned at = rest & (kDistanceIndices - 1);
                    row[rest] =
                        distanceNeeds[at] <= left ? lengthBits + distanceBits[at] : lengthBits | kMore;
                }
            }
            for (unsigned extra = 0; extra < (1u << Code::Extra(code)); ++extra) {
                const uint64_t made = uint64_t{Code::Value(code) + extra} << 32;
                const unsigned from = reversed | extra << length;
                for (unsigned rest = 0; rest < after; ++rest)
                    table[from | rest << lengthBits] = row[rest] + made;
            }
        }
    }
}

}  // namespace Engine
