// The splitting of a layer's CSV text into tiles, in place and in linear time, each tile read as
// std::stoi reads an int (Common::ReadLeadingInt, which the map sizes are read by too). Stateless;
// any thread.
#pragma once

#include "common/leading_int.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace TmxParser {

using NumberStatus = Common::NumberStatus;

// Where CSV splitting stopped: the field's text (without its comma) and its 1-based number.
struct CsvFailure {
    NumberStatus status = NumberStatus::Ok;
    const char* fieldBegin = nullptr;
    const char* fieldEnd = nullptr;
    std::size_t fieldNumber = 0;
};

// Splits `size` bytes of CSV text into `tiles` (each field read by Common::ReadLeadingInt, stored as unsigned
// 32-bit). On failure `tiles` holds the fields before the bad one and `failure` describes it.
NumberStatus SplitCsv(const char* text, std::size_t size, std::vector<uint32_t>& tiles, CsvFailure& failure);

}  // namespace TmxParser
