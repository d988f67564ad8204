// Number reading for tile maps: the decimal text-to-int conversion used for map sizes and tile
// numbers, and the splitting of a layer's CSV text into tiles, both in place and in linear time.
// Stateless; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TmxParser {

// Outcome of reading a number: Invalid where std::stoi throws invalid_argument, OutOfRange for out_of_range.
enum class NumberStatus { Ok, Invalid, OutOfRange };

// Where CSV splitting stopped: the field's text (without its comma) and its 1-based number.
struct CsvFailure {
    NumberStatus status = NumberStatus::Ok;
    const char* fieldBegin = nullptr;
    const char* fieldEnd = nullptr;
    std::size_t fieldNumber = 0;
};

// Reads an int from [first, last) as std::stoi would: white space skipped, optional sign, the longest
// digit run, the rest ignored. Invalid without digits, OutOfRange outside int32; `value` set only on Ok.
NumberStatus ReadInt(const char* first, const char* last, int32_t& value);

// Splits `size` bytes of CSV text into `tiles` (each field read by ReadInt, stored as unsigned 32-bit).
// On failure `tiles` holds the fields before the bad one and `failure` describes it.
NumberStatus SplitCsv(const char* text, std::size_t size, std::vector<uint32_t>& tiles, CsvFailure& failure);

}  // namespace TmxParser
