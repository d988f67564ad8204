// The other number reader: an int as the standard conversion (std::stoi, strtol) reads it, which the
// formats read that way keep: config.tml's integers ("800px" is 800) and tile maps' sizes and CSV
// tiles. Leading white space, an optional sign, the longest digit run; the rest is not looked at.
// Files the game writes itself are read by StrictNumber, which takes whole tokens only. Inline (the
// tile-map reader calls it once per tile); stateless, any thread.
#pragma once

#include <cstdint>

namespace Common {

// Invalid where std::stoi throws invalid_argument (no digits), OutOfRange where it throws out_of_range.
enum class NumberStatus { Ok, Invalid, OutOfRange };

// Reads [first, last); `value` is set only on Ok. `stop` is where the conversion ended: just past
// the digits, or where the digits were missing.
[[gnu::always_inline]] inline NumberStatus ReadLeadingInt(const char* first, const char* last, int32_t& value,
                                                          const char*& stop) {
    const char* p = first;
    // The "C" locale's white space: every such byte is at most ' ', so one comparison rules most out.
    while (p != last && static_cast<unsigned char>(*p) <= ' ' &&
           (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r'))
        ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    stop = p;
    if (p == last || *p < '0' || *p > '9') return NumberStatus::Invalid;

    // The whole digit run is consumed even once it is too large, as strtol does; the magnitude stops
    // growing past 2^31 so it can never overflow.
    constexpr uint64_t kLimit = uint64_t{1} << 31;
    uint64_t magnitude = 0;
    // Nine digits stay below the limit, so the first ten are taken without the check.
    const char* const unchecked = last - p > 10 ? p + 10 : last;
    for (; p != unchecked && *p >= '0' && *p <= '9'; ++p)
        magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    for (; p != last && *p >= '0' && *p <= '9'; ++p) {
        if (magnitude <= kLimit) magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    }
    stop = p;
    if (magnitude > (negative ? kLimit : kLimit - 1)) return NumberStatus::OutOfRange;
    value =
        static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    return NumberStatus::Ok;
}

inline NumberStatus ReadLeadingInt(const char* first, const char* last, int32_t& value) {
    const char* stop = nullptr;
    return ReadLeadingInt(first, last, value, stop);
}

}  // namespace Common
