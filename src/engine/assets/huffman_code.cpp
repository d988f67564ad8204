#include "engine/assets/huffman_code.h"

#include <algorithm>
#include <array>

namespace Engine {

namespace {

constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                      2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                        33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                        6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
constexpr unsigned kMaxLength = 15;

// Every 10-bit number with its bits in reverse order: codes are written first bit highest, and the
// stream delivers that bit first.
constexpr std::array<uint16_t, 1024> Reversals() {
    std::array<uint16_t, 1024> reversed{};
    for (unsigned n = 0; n < reversed.size(); ++n) {
        for (unsigned bit = 0; bit < 10; ++bit)
            reversed[n] |= static_cast<uint16_t>(((n >> bit) & 1u) << (9 - bit));
    }
    return reversed;
}
constexpr std::array<uint16_t, 1024> kReversed = Reversals();
static_assert(HuffmanCode::kTableBits == 10, "the reversal table covers the table's bits");

uint32_t Entry(unsigned codeBits, HuffmanCode::Kind kind, unsigned extra = 0, unsigned value = 0) {
    return codeBits | (extra << 4) | (uint32_t{kind} << 8) | (value << 16);
}

}  // namespace

uint32_t HuffmanCode::EntryFor(unsigned symbol, unsigned length) const {
    switch (alphabet) {
        case Alphabet::kLiteralLength:
            if (symbol < 256) return Entry(length, kLiteral);
            if (symbol == 256) return Entry(length, kEndOfBlock);
            if (symbol < 286)
                return Entry(length, kLength, kLengthExtra[symbol - 257], kLengthBase[symbol - 257]);
            return Entry(length, kForbidden);
        case Alphabet::kDistance:
            if (symbol < 30) return Entry(length, kSymbol, kDistanceExtra[symbol], kDistanceBase[symbol]);
            return Entry(length, kForbidden);
        case Alphabet::kCodeLength:
            break;
    }
    return Entry(length, kSymbol, 0, symbol);
}

bool HuffmanCode::Build(Alphabet kind, const uint8_t* lengths, unsigned count, bool withTable) {
    alphabet = kind;
    hasTable = withTable;
    // The symbols in four quarters, each counted and placed on its own: one count or place at a
    // time would wait on the one before whenever neighbours share a length.
    constexpr unsigned kQuarters = 4;
    const unsigned quarter = (count + kQuarters - 1) / kQuarters;
    std::array<std::array<uint16_t, kMaxLength + 1>, kQuarters> quarterCounts{};
    for (unsigned s = 0; s < quarter; ++s) {
        for (unsigned q = 0; q < kQuarters; ++q) {
            if (q * quarter + s < count) ++quarterCounts[q][lengths[q * quarter + s]];
        }
    }
    for (unsigned length = 0; length <= kMaxLength; ++length) {
        counts[length] = 0;
        for (unsigned q = 0; q < kQuarters; ++q) counts[length] += quarterCounts[q][length];
    }
    counts[0] = 0;
    int left = 1;  // code space left, in units of the current length
    for (unsigned length = 1; length <= kMaxLength; ++length) {
        left = left * 2 - counts[length];
        if (left < 0) return false;
    }
    // Where each quarter's symbols of each length go: after the shorter codes and after the
    // earlier quarters' symbols of the same length.
    std::array<std::array<uint16_t, kMaxLength + 1>, kQuarters> places{};
    for (unsigned length = 1, place = 0; length <= kMaxLength; ++length) {
        for (unsigned q = 0; q < kQuarters; ++q) {
            places[q][length] = static_cast<uint16_t>(place);
            place += quarterCounts[q][length];
        }
    }
    for (unsigned s = 0; s < quarter; ++s) {
        for (unsigned q = 0; q < kQuarters; ++q) {
            const unsigned symbol = q * quarter + s;
            if (symbol < count && lengths[symbol] != 0)
                sorted[places[q][lengths[symbol]]++] = static_cast<uint16_t>(symbol);
        }
    }
    // Codes are assigned in symbol order within each length (the canonical code). The table is
    // indexed by the next bits as they arrive, so a code goes in bit-reversed, once for every
    // value of the bits after it. When no code is longer than `bits`, the entries for the first
    // `bits` bits are made and copied over the rest.
    unsigned longest = kMaxLength;
    while (longest > 1 && counts[longest] == 0) --longest;
    const unsigned size = 1u << std::min(longest, kTableBits);
    if (hasTable) std::fill(table.begin(), table.begin() + size, Entry(0, kLong));
    unsigned code = 0;
    unsigned index = 0;
    for (unsigned length = 1; length <= kTableBits; ++length) {
        for (unsigned n = 0; hasTable && n < counts[length]; ++n, ++code) {
            const uint32_t entry = EntryFor(sorted[index++], length);
            for (unsigned i = kReversed[code] >> (kTableBits - length); i < size; i += 1u << length)
                table[i] = entry;
        }
        if (!hasTable) {
            code += counts[length];
            index += counts[length];
        }
        code <<= 1;
    }
    for (unsigned filled = size; hasTable && filled < table.size(); filled *= 2)
        std::copy(table.begin(), table.begin() + filled, table.begin() + filled);
    longFirst = code;
    longIndex = index;
    if (alphabet == Alphabet::kDistance) LongDistances(code, index);
    return true;
}

// Distance codes longer than the table go into groups of entries for the bits after the table,
// which the table's entry for their first bits names: the fast walk reads them without a call.
// Codes come in code order, so those that share their first bits are neighbours.
void HuffmanCode::LongDistances(unsigned code, unsigned index) {
    std::fill(second.begin(), second.begin() + kGroup, Entry(0, kLong));  // group 0: no code
    unsigned groups = 1;
    for (unsigned length = kTableBits + 1; length <= kMaxLength; ++length) {
        for (unsigned n = 0; n < counts[length]; ++n, ++code) {
            const unsigned reversed = (kReversed[code & kTableMask] << (length - kTableBits)) |
                                      (kReversed[code >> kTableBits] >> (20 - length));
            uint32_t& first = table[reversed & kTableMask];
            if (Value(first) == 0) {
                first = Entry(0, kLong, 0, groups);
                std::fill(second.begin() + groups * kGroup, second.begin() + (groups + 1) * kGroup,
                          Entry(0, kLong));
                ++groups;
            }
            const uint32_t entry = EntryFor(sorted[index++], length);
            uint32_t* const group = second.data() + Value(first) * kGroup;
            for (unsigned i = reversed >> kTableBits; i < kGroup; i += 1u << (length - kTableBits))
                group[i] = entry;
        }
        code <<= 1;
    }
}

unsigned HuffmanCode::ShortCodes(unsigned maxLength, std::array<ShortCode, 288>& out) const {
    unsigned code = 0;
    unsigned index = 0;
    for (unsigned length = 1; length <= maxLength; ++length) {
        for (unsigned n = 0; n < counts[length]; ++n, ++code, ++index) {
            // Reversed in two pieces of at most 10 bits.
            const unsigned reversed = length <= 10 ? kReversed[code] >> (10 - length)
                                                   : (kReversed[code & 1023] << (length - 10)) |
                                                         (kReversed[code >> 10] >> (20 - length));
            out[index] = {EntryFor(sorted[index], length), static_cast<uint16_t>(reversed)};
        }
        code <<= 1;
    }
    return index;
}

uint32_t HuffmanCode::Decode(uint64_t bits, unsigned available) const {
    if (!hasTable) return Canonical(bits, available, 1, 0, 0, 0);
    const uint32_t entry = Lookup(bits);
    return Is(entry, kLong) ? DecodeLong(bits, available) : entry;
}

uint32_t HuffmanCode::DecodeLong(uint64_t bits, unsigned available) const {
    // The code so far is the table's bits, first bit highest.
    return Canonical(bits, available, kTableBits + 1, kReversed[bits & kTableMask], longFirst, longIndex);
}

// Canonical decoding from `length` on: `code` holds the bits before it, first bit highest;
// `first` is the first code of `length - 1` bits and `index` the place of its symbol in `sorted`.
uint32_t HuffmanCode::Canonical(uint64_t bits, unsigned available, unsigned length, unsigned code,
                                unsigned first, unsigned index) const {
    for (; length <= kMaxLength && length <= available; ++length) {
        code = (code << 1) | (static_cast<unsigned>(bits >> (length - 1)) & 1u);
        if (code - first < counts[length]) return EntryFor(sorted[index + code - first], length);
        index += counts[length];
        first = (first + counts[length]) << 1;
    }
    return Entry(0, kLong);
}

}  // namespace Engine
