// Walks a zlib stream the way the decoder's inflater reads it, without making the bytes it
// inflates to: block structure, codes, match distances and the inflated size are checked and
// nothing is kept but the count. Made for one stream and run once; one thread.
#pragma once

#include "engine/assets/bit_reader.h"
#include "engine/assets/byte_source.h"
#include "engine/assets/code_runs.h"
#include "engine/assets/huffman_code.h"

#include <cstdint>

namespace Engine {

class DeflateCheck {
public:
    DeflateCheck(ByteSource& source, uint64_t limit);  // `limit`: the most bytes the stream may inflate to

    // True when the stream is sound, inflates to at most the limit, and ends with room for its
    // four-byte check value (whose value is not checked).
    bool Run();

private:
    bool StoredBlock();
    bool FixedCodes();
    bool DynamicCodes();
    bool CodedBlock();
    bool Decode(const HuffmanCode& code, uint32_t& entry);  // the next code's entry; false if none
    bool Symbol(bool& endOfBlock);  // one literal, match or end of block, checked bit by bit

    BitReader in;
    HuffmanCode lengthCode;  // the code of a block's code lengths
    HuffmanCode literals;
    HuffmanCode distances;
    CodeRuns runs;
    uint64_t limit;
    uint64_t produced = 0;
};

}  // namespace Engine
