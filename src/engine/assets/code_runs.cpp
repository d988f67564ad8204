#include "engine/assets/code_runs.h"

namespace Engine {

namespace {

using Code = HuffmanCode;

// While the table is built, bits 8 to 11 of an entry hold the bits its codes need within the
// table's index (a last distance's extra bits may lie beyond it).
constexpr unsigned kNeededShift = 8;
constexpr uint64_t kNeededMask = uint64_t{0xF} << kNeededShift;

uint64_t Unit(unsigned bits, unsigned needed, uint64_t made) {
    return bits | (uint64_t{needed} << kNeededShift) | (made << 32);
}

unsigned Needed(uint64_t entry) { return static_cast<unsigned>((entry & kNeededMask) >> kNeededShift); }

// A match whose length code and extra bits take the first `lengthBits` of `index`, with its
// distance when that code fits too.
uint64_t Match(uint32_t length, unsigned index, const HuffmanCode& distances) {
    const unsigned lengthBits = Code::Bits(length);
    const uint32_t distance = distances.Lookup(index >> lengthBits);
    const uint64_t made = Code::ValueWithExtra(length, index);
    const unsigned needed = lengthBits + Code::CodeBits(distance);
    if (Code::Is(distance, Code::kSymbol) && needed <= CodeRuns::kTableBits)
        return Unit(lengthBits + Code::Bits(distance), needed, made);
    return Unit(lengthBits, lengthBits, made) | CodeRuns::kDistanceFollows;
}

}  // namespace

void CodeRuns::Build(const HuffmanCode& literals, const HuffmanCode& distances) {
    // First every index gets the literal or match its bits begin with.
    table.fill(0);
    std::array<HuffmanCode::ShortCode, 288> codes;
    const unsigned count = literals.ShortCodes(kTableBits, codes);
    for (unsigned n = 0; n < count; ++n) {
        const uint32_t entry = codes[n].entry;
        const unsigned step = 1u << Code::CodeBits(entry);
        if (Code::Is(entry, Code::kLiteral)) {
            const uint64_t unit = Unit(Code::CodeBits(entry), Code::CodeBits(entry), 1);
            for (unsigned i = codes[n].reversed; i < table.size(); i += step) table[i] = unit;
        } else if (Code::Is(entry, Code::kLength) && Code::Bits(entry) <= kTableBits) {
            for (unsigned i = codes[n].reversed; i < table.size(); i += step)
                table[i] = Match(entry, i, distances);
        }
    }
    // Then the unit after it is taken on when its codes lie within the bits left. The bits left
    // are a smaller index, whose entry is still its first unit alone while the indices are
    // filled from the top.
    for (unsigned i = table.size(); i-- > 0;) {
        const uint64_t unit = table[i];
        const unsigned used = Bits(unit);
        uint64_t rest = 0;
        if (unit != 0 && (unit & kDistanceFollows) == 0 && used < kTableBits) {
            rest = table[i >> used];
            if (Needed(rest) > kTableBits - used) rest = 0;
        }
        table[i] = (unit & ~kNeededMask) + (rest & ~kNeededMask);
    }
}

}  // namespace Engine
