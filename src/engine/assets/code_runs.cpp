#include "engine/assets/code_runs.h"

namespace Engine {

namespace {

using Code = HuffmanCode;

uint64_t Run(unsigned bits, uint64_t made) { return bits | (made << 32); }

}  // namespace

// Entries are filled in increasing index order. An entry starts with the literal, or the match,
// that its bits begin with; the bits left after it are a smaller index whose entry is ready, and
// it is taken on when its codes lie within those bits.
void CodeRuns::Build(const HuffmanCode& literals, const HuffmanCode& distances) {
    for (unsigned index = 0; index < table.size(); ++index) {
        const uint32_t first = literals.Lookup(index);
        uint64_t unit = 0;
        unsigned unitCodeBits = 0;
        if (Code::Is(first, Code::kLiteral)) {
            unitCodeBits = Code::CodeBits(first);
            unit = Run(unitCodeBits, 1);
        } else if (Code::Is(first, Code::kLength) && Code::Bits(first) <= kTableBits) {
            const unsigned lengthBits = Code::Bits(first);
            const uint32_t distance = distances.Lookup(index >> lengthBits);
            const unsigned withDistance = lengthBits + Code::CodeBits(distance);
            unit = Run(lengthBits, Code::ValueWithExtra(first, index));
            unitCodeBits = lengthBits;
            if (Code::Is(distance, Code::kSymbol) && withDistance <= kTableBits) {
                unit += Code::Bits(distance);
                unitCodeBits = withDistance;
            } else {
                unit |= kDistanceFollows;
            }
        }
        table[index] = unit;
        codeBits[index] = static_cast<uint8_t>(unitCodeBits);
        const unsigned used = Bits(unit);
        if (used == 0 || used >= kTableBits || (unit & kDistanceFollows) != 0 || index == 0) continue;
        const unsigned restIndex = index >> used;
        const uint64_t rest = table[restIndex];
        if (Bits(rest) == 0 || codeBits[restIndex] > kTableBits - used) continue;
        table[index] = unit + rest;  // the flag, if any, is the rest's
        codeBits[index] = static_cast<uint8_t>(used + codeBits[restIndex]);
    }
}

}  // namespace Engine
