// One prefix code of a deflate block (literals and lengths, distances, or code lengths), built from
// its code lengths by the stream check and looked up for every code it reads. Owned by that check;
// one thread.
#pragma once

#include <array>
#include <cstdint>

namespace Engine {

class HuffmanCode {
public:
    enum class Alphabet { kLiteralLength, kDistance, kCodeLength };

    // What a table entry stands for.
    enum Kind : uint32_t {
        kLong = 0,  // a code longer than the table, or no code at all: use DecodeLong
        kLiteral = 1,
        kLength = 2,  // a match length: value is the base, extra the bits that follow the code
        kEndOfBlock = 3,
        kSymbol = 4,     // a distance (value the base, extra its extra bits) or a code-length symbol
        kForbidden = 5,  // a symbol the format reserves (lengths 286 and 287, distances 30 and 31)
    };
    static constexpr unsigned kTableBits = 10;
    static constexpr uint64_t kTableMask = (1u << kTableBits) - 1;

    // An entry packs the bits of its code, the number of extra bits that follow it (for a length or
    // a distance), its kind, and its value (a length or distance base, or a symbol).
    static unsigned CodeBits(uint32_t entry) { return entry & 0xF; }
    static unsigned Extra(uint32_t entry) { return (entry >> 4) & 0xF; }
    static unsigned Bits(uint32_t entry) { return CodeBits(entry) + Extra(entry); }  // code and extra bits
    static Kind KindOf(uint32_t entry) { return static_cast<Kind>((entry >> 8) & 7); }
    static bool Is(uint32_t entry, Kind kind) { return KindOf(entry) == kind; }
    static unsigned Value(uint32_t entry) { return entry >> 16; }
    // The length or distance an entry stands for, with its extra bits from `bits` (the bits of
    // the code first).
    static unsigned ValueWithExtra(uint32_t entry, uint64_t bits) {
        return Value(entry) + static_cast<unsigned>((bits >> CodeBits(entry)) & ((1u << Extra(entry)) - 1));
    }

    // Builds the code of `count` symbols from their lengths (0 = unused). False when the lengths
    // over-subscribe the code space; an incomplete code is accepted, as the decoder accepts it, and
    // reading one of its unused codes fails when it happens.
    // Without `table`, only the codes are made, for a code read a few times: Lookup is then not to
    // be used, and Decode reads bit by bit.
    bool Build(Alphabet alphabet, const uint8_t* lengths, unsigned count, bool table = true);

    // A code of at most the table's bits and its entry; `reversed` is the code as the stream
    // delivers it, first bit lowest.
    struct ShortCode {
        uint32_t entry;
        uint16_t reversed;
    };
    // The codes of at most `maxLength` (at most 15) bits, in code order; returns how many.
    unsigned ShortCodes(unsigned maxLength, std::array<ShortCode, 288>& out) const;

    // The entry of the code at the bottom of `bits`; kLong when it is unused or needs more than
    // `available` bits.
    uint32_t Decode(uint64_t bits, unsigned available) const;
    // The entry for the code at the bottom of `bits`.
    uint32_t Lookup(uint64_t bits) const { return table[bits & kTableMask]; }
    // For a kLong entry of a distance code: the entry of the code longer than the table that
    // `bits` begin with; kLong when it is unused.
    uint32_t LongDistance(uint32_t entry, uint64_t bits) const {
        return second[Value(entry) * kGroup + (bits >> kTableBits & (kGroup - 1))];
    }
    // The entry of a code longer than the table, read bit by bit from `bits`; kLong when the code
    // is unused or needs more than `available` bits.
    uint32_t DecodeLong(uint64_t bits, unsigned available) const;

private:
    static constexpr unsigned kGroup = 1u << (15 - kTableBits);
    uint32_t EntryFor(unsigned symbol, unsigned length) const;
    void LongDistances(unsigned code, unsigned index);
    uint32_t Canonical(uint64_t bits, unsigned available, unsigned length, unsigned code, unsigned first,
                       unsigned index) const;

    Alphabet alphabet = Alphabet::kCodeLength;
    std::array<uint32_t, 1u << kTableBits> table{};
    std::array<uint32_t, (32 + 1) * kGroup> second{};  // groups of long distance codes
    std::array<uint16_t, 16> counts{};                 // codes of each length
    std::array<uint16_t, 288> sorted{};                // symbols in code order
    unsigned longFirst = 0;                            // the first code one bit longer than the table
    unsigned longIndex = 0;                            // the place of its symbol in `sorted`
    bool hasTable = false;
};

}  // namespace Engine
