// The PNG stream check against stb_image's inflater decoding the whole stream into a buffer of the
// image's size: the check never accepts a stream that inflater refuses, refuses what the decoder's
// older inflater would misread, and gives the same verdict whatever the pieces it reads.
#include "imagecheck/png_stream.h"

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
class MemorySource : public ImageCheck::ByteSource {
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
    return ImageCheck::PngStreamInflates(source, rawBytes);
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

TEST(PngStreamTest, AcceptsWholeStreamsAndNothingTheReferenceRefuses) {
    std::mt19937 random(16);
    const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
    for (int round = 0; round < 60; ++round) {
        // Sizes past the check's 32 KiB of scratch and 64 KiB of input.
        const std::size_t size = 1 + random() % (round % 3 == 0 ? 150000 : 5000);
        const Bytes data = Data(size, random, round);
        const Bytes stream = Deflate(data, round % 10, strategies[round / 4 % 5]);
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_TRUE(Check(stream, size));
        EXPECT_TRUE(Check(stream, size, 1 + random() % 5000));
        EXPECT_FALSE(Check(stream, size + 1));  // the decoder wants exactly the header's rows
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
            // Where the reading window ends must not change the verdict.
            EXPECT_EQ(Check(mutated, size, 700 + random() % 3000), accepted) << "mutation " << mutation;
        }
    }
}

// Fixed-code blocks written bit by bit, for streams no compressor writes, with the check value of
// the bytes they make (matches of 3 to 10 bytes at distances 1 to 4 are made too).
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
    Writer& Literal(int value) {
        made.push_back(static_cast<unsigned char>(value));
        return value < 144 ? Code(0x30 + value, 8) : Code(0x190 + value - 144, 9);
    }
    Writer& Symbol(int symbol) {
        matchLength = symbol - 254;
        return symbol < 280 ? Code(symbol - 256, 7) : Code(0xC0 + symbol - 280, 8);
    }
    Writer& Distance(int symbol) {
        for (int i = 0; i < matchLength && symbol < 4 && made.size() > std::size_t(symbol); ++i)
            made.push_back(made[made.size() - 1 - symbol]);
        return Code(symbol, 5);
    }
    Bytes End(int checkValueBytes = 4, uLong wrongBits = 0) {
        Symbol(256);
        const uLong check = adler32(1, made.data(), static_cast<uInt>(made.size())) ^ wrongBits;
        for (int i = 0; i < checkValueBytes; ++i)
            bytes.push_back(static_cast<unsigned char>(check >> (24 - 8 * i)));
        return bytes;
    }

private:
    Bytes bytes;
    Bytes made;
    int bit = 0;
    int matchLength = 0;
};

TEST(PngStreamTest, RefusesWhatTheDecodersInflaterWouldMisread) {
    const Bytes stored = {0x78, 0x01, 0x01, 0x03, 0x00, 0xFC, 0xFF, 'a', 'b', 'c', 0x02, 0x4D, 0x01, 0x27};
    Bytes storedBadComplement = stored;
    storedBadComplement[5] = 0xFD;
    Bytes wideWindow = stored;  // a window of 64 KiB, which the zlib format does not allow
    wideWindow[0] = 0x88;
    wideWindow[1] = 0x1C;
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
        {"fewer bytes than the image", Writer().Fixed().Literal(1).End(), 9, false},
        {"more bytes than the image", Writer().Fixed().Literal(1).Symbol(257).Distance(0).End(), 3, false},
        {"a match within what was made", Writer().Fixed().Literal(1).Symbol(257).Distance(0).End(), 4, true},
        {"a match reaching before the start", Writer().Fixed().Literal(1).Symbol(257).Distance(1).End(), 4,
         false},
        {"reserved length symbol", Writer().Fixed().Literal(1).Symbol(286).Distance(0).End(), 4, false},
        {"reserved distance symbol", Writer().Fixed().Literal(1).Symbol(257).Distance(30).End(), 4, false},
        {"no check value", Writer().Fixed().Literal(1).Literal(2).Literal(3).End(0), 3, false},
        {"check value cut short", Writer().Fixed().Literal(1).End(3), 1, false},
        {"wrong check value", Writer().Fixed().Literal(1).End(4, 0x100), 1, false},
        {"data after the check value", trailing, 1, true},
        {"stored block", stored, 3, true},
        {"stored block, bad length complement", storedBadComplement, 3, false},
        {"stored block longer than the data", Bytes(stored.begin(), stored.begin() + 9), 3, false},
        {"window over 32 KiB", wideWindow, 3, false},
        {"preset dictionary", Bytes{0x78, 0x20, 0x03, 0x00, 0, 0, 0, 0}, 9, false},
        {"block type 3", Writer().Put(1, 1).Put(3, 2).End(), 9, false},
        {"image size beyond an int", Writer().Fixed().Literal(1).End(), uint64_t{INT_MAX} + 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Check(c.stream, c.rawBytes), c.accepted) << c.what;
        if (c.accepted) {
            EXPECT_TRUE(InflaterAccepts(c.stream, c.rawBytes)) << c.what;
        }
    }
}

}  // namespace
