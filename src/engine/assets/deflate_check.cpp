#include "engine/assets/deflate_check.h"

#include "engine/assets/split_walk.h"

#include <algorithm>
#include <array>

namespace Engine {

namespace {

using Code = HuffmanCode;

// The most a match reaches back: once this much has been made, the fast walk reads the stream.
constexpr uint64_t kWindow = 32768;

}  // namespace

DeflateCheck::DeflateCheck(ByteSource& source, uint64_t most) : in(source), limit(most) {}

bool DeflateCheck::Run() {
    uint32_t method = 0;
    uint32_t flags = 0;
    if (!in.Take(8, method) || !in.Take(8, flags)) return false;
    // The decoder's header rules: a valid header check, deflate, no preset dictionary. The window
    // size is not looked at (the decoder keeps all it inflates).
    if ((method * 256 + flags) % 31 != 0 || (method & 15) != 8 || (flags & 32) != 0) return false;
    for (uint32_t last = 0; last == 0;) {
        uint32_t type = 0;
        if (!in.Take(1, last) || !in.Take(2, type)) return false;
        bool ok = false;
        if (type == 0) ok = StoredBlock();
        if (type == 1) ok = FixedCodes() && CodedBlock();
        if (type == 2) ok = DynamicCodes() && CodedBlock();
        if (!ok) return false;
    }
    // A whole zlib stream ends with its check value; a stream cut before it is refused, so the
    // decoder never reads past the data.
    in.AlignToByte();
    return in.HasBytes(4);
}

bool DeflateCheck::StoredBlock() {
    in.AlignToByte();
    uint32_t length = 0;
    uint32_t complement = 0;
    if (!in.Take(16, length) || !in.Take(16, complement) || (length ^ 0xFFFFu) != complement) return false;
    produced += length;
    return produced <= limit && in.SkipBytes(length);
}

bool DeflateCheck::FixedCodes() {
    std::array<uint8_t, 288 + 32> lengths{};
    std::fill(lengths.begin(), lengths.begin() + 144, 8);
    std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
    std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
    std::fill(lengths.begin() + 280, lengths.begin() + 288, 8);
    std::fill(lengths.begin() + 288, lengths.end(), 5);
    return literals.Build(Code::Alphabet::kLiteralLength, lengths.data(), 288, produced < kWindow) &&
           distances.Build(Code::Alphabet::kDistance, lengths.data() + 288, 32);
}

bool DeflateCheck::DynamicCodes() {
    uint32_t literalCount = 0;
    uint32_t distanceCount = 0;
    uint32_t lengthCodes = 0;
    if (!in.Take(5, literalCount) || !in.Take(5, distanceCount) || !in.Take(4, lengthCodes)) return false;
    literalCount += 257;
    distanceCount += 1;
    lengthCodes += 4;
    static constexpr uint8_t kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
    std::array<uint8_t, 19> lengthCodeLengths{};
    for (uint32_t i = 0; i < lengthCodes; ++i) {
        uint32_t length = 0;
        if (!in.Take(3, length)) return false;
        lengthCodeLengths[kOrder[i]] = static_cast<uint8_t>(length);
    }
    if (!lengthCode.Build(Code::Alphabet::kCodeLength, lengthCodeLengths.data(), 19)) return false;
    std::array<uint8_t, 288 + 32> lengths{};
    const uint32_t total = literalCount + distanceCount;
    for (uint32_t n = 0; n < total;) {
        uint32_t entry = 0;
        if (!Decode(lengthCode, entry)) return false;
        const unsigned symbol = Code::Value(entry);
        if (symbol < 16) {
            lengths[n++] = static_cast<uint8_t>(symbol);
            continue;
        }
        uint32_t repeat = 0;
        uint8_t fill = 0;
        if (symbol == 16) {  // the previous length again; there must be one
            if (n == 0 || !in.Take(2, repeat)) return false;
            fill = lengths[n - 1];
            repeat += 3;
        } else if (symbol == 17) {
            if (!in.Take(3, repeat)) return false;
            repeat += 3;
        } else {
            if (!in.Take(7, repeat)) return false;
            repeat += 11;
        }
        if (repeat > total - n) return false;
        std::fill(lengths.begin() + n, lengths.begin() + n + repeat, fill);
        n += repeat;
    }
    // Once the fast walk reads the block, its literal code is read only a few times: at the end
    // of the block and of each window.
    return literals.Build(Code::Alphabet::kLiteralLength, lengths.data(), literalCount, produced < kWindow) &&
           distances.Build(Code::Alphabet::kDistance, lengths.data() + literalCount, distanceCount);
}

bool DeflateCheck::Decode(const HuffmanCode& code, uint32_t& entry) {
    in.Refill();
    entry = code.Decode(in.Bits(), in.Count());
    if (Code::Is(entry, Code::kLong) || Code::CodeBits(entry) > in.Count()) return false;
    in.Drop(Code::CodeBits(entry));
    return true;
}

bool DeflateCheck::Symbol(bool& endOfBlock) {
    uint32_t entry = 0;
    if (!Decode(literals, entry)) return false;
    switch (Code::KindOf(entry)) {
        case Code::kLiteral:
            ++produced;
            return true;
        case Code::kEndOfBlock:
            endOfBlock = true;
            return true;
        case Code::kLength: {
            uint32_t extra = 0;
            if (!in.Take(Code::Extra(entry), extra)) return false;
            const uint32_t length = Code::Value(entry) + extra;
            if (!Decode(distances, entry) || !Code::Is(entry, Code::kSymbol) ||
                !in.Take(Code::Extra(entry), extra)) {
                return false;
            }
            // The decoder copies from what it has made so far; nothing lies before it.
            if (Code::Value(entry) + extra > produced) return false;
            produced += length;
            return true;
        }
        default:
            return false;
    }
}

bool DeflateCheck::CodedBlock() {
    runs.Build(literals, distances);
    for (;;) {
        if (produced >= kWindow) SplitWalk(runs, literals, distances).Run(in, produced);
        // Anything else, one symbol at a time with every check: the end of the block, long codes,
        // reserved symbols, the first 32 KiB and the last bytes of each window.
        bool endOfBlock = false;
        if (!Symbol(endOfBlock) || produced > limit) return false;
        if (endOfBlock) return true;
    }
}

}  // namespace Engine
