// The number forms the game's own files (demos, best times, level data) are written in and read back
// by: whole tokens in the C form whatever the locale, shortest round-trip text for floating point, and
// nothing that parses only partly. Header only, stateless; any thread.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace Common::StrictNumber {

// The whole of `text` is a finite number of the type; "1.5x", "", "inf" and "1e999" are not.
template <typename Float>
bool ParseFinite(std::string_view text, Float& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

// The whole of `text` is a decimal integer of the type ("-" allowed, "+" and spaces not).
template <typename Integer>
bool ParseWhole(std::string_view text, Integer& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

// Writes the shortest text that reads back as exactly `value` (integers as they are) into
// [at, end); returns the end of what was written, or null when it does not fit. Allocates nothing.
template <typename Number>
char* Write(char* at, char* end, Number value) {
    const auto result = std::to_chars(at, end, value);
    return result.ec == std::errc() ? result.ptr : nullptr;
}

}  // namespace Common::StrictNumber
