// The PNG stream check against two references: stb_image's inflater decoding the whole stream into
// a buffer of the image's size (the rule the check replaced: the check never accepts a stream it
// refuses, and refuses by design what it would misread), and the check's own rules walked plainly,
// code by code and bit by bit (the same verdict on every stream, whatever the pieces it reads).
#include "engine/assets/png_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb/stb_image.h>

namespace {

using Bytes = std::vector<unsigned char>;

// Hands the bytes out in pieces of at most `piece` bytes, as a file of small IDAT chunks does.
class MemorySource : public Engine::ByteSource {
public:
    MemorySource(const Bytes& bytes, std::size_t piece) : bytes(bytes), piece(piece) {}
    std::size_t Fill(unsigned char* out, std::size_t capacity) override {
        const std::size_t count = std::min({capacity, piece, bytes.size() - at});
        if (count > 0) std::memcpy(out, bytes.data() + at, count);
        at += count;
        return count;
    }

private:
    const Bytes& bytes;
    std::size_t piece;
    std::size_t at = 0;
};

bool Check(const Bytes& stream, uint64_t rawBytes, std::size_t piece = SIZE_MAX) {
    MemorySource source(stream, piece);
    return Engine::PngStreamInflates(source, rawBytes) && Engine::PngDataCanHold(stream.size(), rawBytes);
}

bool InflaterAccepts(const Bytes& stream, uint64_t rawBytes) {
    std::vector<char> out(rawBytes);
    return stbi_zlib_decode_buffer(out.data(), static_cast<int>(rawBytes),
                                   reinterpret_cast<const char*>(stream.data()),
                                   static_cast<int>(stream.size())) >= 0;
}

Bytes Deflate(const Bytes& data, int level, int strategy) {
    z_stream z{};
    deflateInit2(&z, level, Z_DEFLATED, 15, 8, strategy);
    Bytes out(deflateBound(&z, data.size()));
    z.next_in = const_cast<unsigned char*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

// Image-like rows (slow gradients with noise of a few levels: literals and short matches), filtered
// rows of one flat channel (short matches reaching far), random bytes (long literal codes) or runs
// copied from far back (long matches).
Bytes Data(std::size_t size, std::mt19937& random, int round) {
    Bytes data(size);
    const unsigned noise = 2 + round % 30;
    std::size_t distance = 1;
    for (std::size_t i = 0; i < size; ++i) {
        switch (round % 4) {
            case 0:
                data[i] = static_cast<unsigned char>(i / 97 + random() % noise);
                break;
            case 1:
                data[i] = static_cast<unsigned char>(i % 3 == 0 ? 0 : random() % noise - noise / 2);
                break;
            case 2:
                data[i] = static_cast<unsigned char>(random());
                break;
            default:
                if (i < 4096 || random() % 150 == 0)
                    distance = 1 + random() % std::min<std::size_t>(i + 1, 32768);
                data[i] = i < 4096 ? static_cast<unsigned char>(random()) : data[i - distance];
        }
    }
    return data;
}

// The check's rules written plainly: every code decoded bit by bit from its lengths, every rule
// checked at every code. The check must give the same verdict on every stream.
class PlainWalk {
public:
    explicit PlainWalk(const Bytes& stream) : bytes(stream) {}

    bool Run(uint64_t rawBytes) {
        uint32_t method = 0;
        uint32_t flags = 0;
        if (rawBytes == 0 || rawBytes > INT_MAX || !Take(8, method) || !Take(8, flags)) return false;
        if ((method * 256 + flags) % 31 != 0 || (method & 15) != 8 || (flags & 32) != 0) return false;
        for (uint32_t last = 0; last == 0;) {
            uint32_t type = 0;
            if (!Take(1, last) || !Take(2, type) || type == 3) return false;
            if (type == 0 ? !Stored() : !(type == 1 ? Fixed() : Dynamic()) || !Codes()) return false;
            if (made > rawBytes) return false;
        }
        at = (at + 7) / 8 * 8;
        return at + 32 <= bytes.size() * 8;  // the check value
    }

private:
    struct Code {
        std::array<int, 16> counts{};
        std::vector<int> symbols;  // by length, then by symbol
    };

    bool Take(unsigned count, uint32_t& value) {
        if (at + count > bytes.size() * 8) return false;
        value = 0;
        for (unsigned i = 0; i < count; ++i, ++at) value |= ((bytes[at / 8] >> at % 8) & 1u) << i;
        return true;
    }
    static bool Make(const uint8_t* lengths, int count, Code& code) {
        code = Code{};
        for (int s = 0; s < count; ++s) ++code.counts[lengths[s]];
        for (int length = 1, left = 1; length < 16; ++length) {
            left = left * 2 - code.counts[length];
            if (left < 0) return false;
            for (int s = 0; s < count; ++s)
                if (lengths[s] == length) code.symbols.push_back(s);
        }
        return true;
    }
    int Decode(const Code& code) {  // the next code's symbol; -1 when none matches
        for (int length = 1, value = 0, first = 0, index = 0; length < 16; ++length) {
            uint32_t bit = 0;
            if (!Take(1, bit)) return -1;
            value = value * 2 + static_cast<int>(bit);
            if (value - first < code.counts[length]) return code.symbols[index + value - first];
            index += code.counts[length];
            first = (first + code.counts[length]) * 2;
        }
        return -1;
    }
    bool Stored() {
        uint32_t length = 0;
        uint32_t complement = 0;
        at = (at + 7) / 8 * 8;
        if (!Take(16, length) || !Take(16, complement) || (length ^ 0xFFFF) != complement) return false;
        at += 8 * length;
        made += length;
        return at <= bytes.size() * 8;
    }
    bool Fixed() {
        std::array<uint8_t, 320> lengths{};
        for (int s = 0; s < 320; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : s < 288 ? 8 : 5;
        return Make(lengths.data(), 288, literals) && Make(lengths.data() + 288, 32, distances);
    }
    bool Dynamic() {
        static const int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        uint32_t literalCount = 0, distanceCount = 0, orderCount = 0, value = 0;
        if (!Take(5, literalCount) || !Take(5, distanceCount) || !Take(4, orderCount)) return false;
        std::array<uint8_t, 19> order{};
        for (uint32_t i = 0; i < orderCount + 4; ++i) {
            if (!Take(3, value)) return false;
            order[kOrder[i]] = static_cast<uint8_t>(value);
        }
        Code lengthCode;
        std::vector<uint8_t> lengths;
        const uint32_t total = literalCount + 257 + distanceCount + 1;
        if (!Make(order.data(), 19, lengthCode)) return false;
        while (lengths.size() < total) {
            const int symbol = Decode(lengthCode);
            if (symbol < 0) return false;
            if (symbol < 16) {
                lengths.push_back(static_cast<uint8_t>(symbol));
                continue;
            }
            if (symbol == 16 && lengths.empty()) return false;
            const uint8_t fill = symbol == 16 ? lengths.back() : 0;
            if (!Take(symbol == 16 ? 2 : symbol == 17 ? 3 : 7, value)) return false;
            value += symbol == 18 ? 11 : 3;
            if (lengths.size() + value > total) return false;
            lengths.insert(lengths.end(), value, fill);
        }
        return Make(lengths.data(), static_cast<int>(literalCount + 257), literals) &&
               Make(lengths.data() + literalCount + 257, static_cast<int>(distanceCount + 1), distances);
    }
    bool Codes() {
        static const int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                            31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const int kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                              33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                              1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
        for (;;) {
            const int symbol = Decode(literals);
            if (symbol < 0 || symbol > 285) return false;
            if (symbol == 256) return true;
            if (symbol < 256) {
                ++made;
                continue;
            }
            const int index = symbol - 257;
            uint32_t extra = 0;
            if (!Take(index < 8 || index == 28 ? 0 : index / 4 - 1, extra)) return false;
            const uint64_t length = static_cast<uint64_t>(kLengthBase[index]) + extra;
            const int code = Decode(distances);
            if (code < 0 || code > 29 || !Take(code < 4 ? 0 : code / 2 - 1, extra)) return false;
            if (kDistanceBase[code] + extra > made) return false;
            made += length;
        }
    }

    const Bytes& bytes;
    uint64_t at = 0;  // bits read
    uint64_t made = 0;
    Code literals;
    Code distances;
};

TEST(PngStreamTest, AcceptsWholeStreamsAndAgreesWithThePlainRules) {
    std::mt19937 random(16);
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (int round = 0; round < 60; ++round) {
        // Sizes past 32 KiB and past one 64 KiB window reach the fast walk and its window ends.
        const std::size_t size = 1 + random() % (round % 3 == 0 ? 150000 : 5000);
        const Bytes data = Data(size, random, round);
        const Bytes stream = Deflate(data, round % 10, strategies[round / 4 % 5]);
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_TRUE(Check(stream, size));
        EXPECT_TRUE(Check(stream, size + 100));
        EXPECT_FALSE(Check(stream, size - 1));
        for (int mutation = 0; mutation < 40; ++mutation) {
            Bytes mutated = stream;
            for (unsigned n = random() % 3; n < 3; ++n)
                mutated[random() % mutated.size()] ^= 1u << random() % 8;
            if (random() % 4 == 0) mutated.resize(random() % mutated.size());
            const bool accepted = Check(mutated, size);
            if (accepted) {
                EXPECT_TRUE(InflaterAccepts(mutated, size)) << "mutation " << mutation;
            }
            MemorySource source(mutated, SIZE_MAX);
            EXPECT_EQ(Engine::PngStreamInflates(source, size), PlainWalk(mutated).Run(size))
                << "mutation " << mutation;
            // Where the reading window ends must not change the verdict.
            EXPECT_EQ(Check(mutated, size, 700 + random() % 3000), accepted) << "mutation " << mutation;
        }
    }
}

// Fixed-code blocks written bit by bit, for streams no compressor writes.
class Writer {
public:
    Writer() : bytes{0x78, 0x01} {}
    Writer& Put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i, ++bit) {
            if (bit % 8 == 0) bytes.push_back(0);
            bytes.back() |= static_cast<unsigned char>(((value >> i) & 1u) << (bit % 8));
        }
        return *this;
    }
    Writer& Code(uint32_t code, int length) {  // first bit highest
        for (int i = length - 1; i >= 0; --i) Put(code >> i, 1);
        return *this;
    }
    Writer& Fixed() { return Put(1, 1).Put(1, 2); }  // the last block, fixed codes
    Writer& Literal(int value) { return value < 144 ? Code(0x30 + value, 8) : Code(0x190 + value - 144, 9); }
    Writer& Symbol(int symbol) { return symbol < 280 ? Code(symbol - 256, 7) : Code(0xC0 + symbol - 280, 8); }
    Writer& Distance(int symbol) { return Code(symbol, 5); }
    Bytes End(std::size_t checkValueBytes = 4) {
        Symbol(256);
        bytes.insert(bytes.end(), checkValueBytes, 0);
        return bytes;
    }

private:
    Bytes bytes;
    int bit = 0;
};

TEST(PngStreamTest, RefusesWhatTheInflaterWouldMisread) {
    const Bytes stored = {0x78, 0x01, 0x01, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c', 0, 0, 0, 0};
    Bytes storedBadComplement = stored;
    storedBadComplement[5] = 0xFD;
    Bytes trailing = Writer().Fixed().Literal(7).End();
    trailing.push_back(0x55);  // data after the stream's end is not looked at, as before
    struct Case {
        const char* what;
        Bytes stream;
        uint64_t rawBytes;
        bool accepted;
    };
    const Case cases[] = {
        {"two literals", Writer().Fixed().Literal(1).Literal(200).End(), 2, true},
        {"fewer bytes than the image", Writer().Fixed().Literal(1).End(), 9, true},
        {"more bytes than the image", Writer().Fixed().Literal(1).Symbol(257).Distance(0).End(), 3, false},
        {"a match within what was made", Writer().Fixed().Literal(1).Symbol(257).Distance(0).End(), 4, true},
        {"a match reaching before the start", Writer().Fixed().Literal(1).Symbol(257).Distance(1).End(), 9,
         false},
        {"reserved length symbol", Writer().Fixed().Literal(1).Symbol(286).Distance(0).End(), 9, false},
        {"reserved distance symbol", Writer().Fixed().Literal(1).Symbol(257).Distance(30).End(), 9, false},
        {"no check value", Writer().Fixed().Literal(1).Literal(2).Literal(3).End(0), 9, false},
        {"check value cut short", Writer().Fixed().Literal(1).End(3), 9, false},
        {"data after the check value", trailing, 9, true},
        {"stored block", stored, 3, true},
        {"stored block, bad length complement", storedBadComplement, 3, false},
        {"stored block longer than the data", Bytes(stored.begin(), stored.begin() + 9), 3, false},
        {"preset dictionary", Bytes{0x78, 0x20, 0x03, 0x00, 0, 0, 0, 0}, 9, false},
        {"block type 3", Writer().Put(1, 1).Put(3, 2).End(), 9, false},
        {"image size beyond an int", Writer().Fixed().Literal(1).End(), uint64_t{INT_MAX} + 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Check(c.stream, c.rawBytes), c.accepted) << c.what;
    }
}

}  // namespace
