#include "tmxparser/tmx_csv.h"

namespace TmxParser {

namespace {

// The "C" locale's white space, which strtol (and so std::stoi) skips.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// ReadInt that also tells where the conversion stopped (just past the digits on success).
// Inlined into the CSV loop, so that the value and the stop stay in registers.
[[gnu::always_inline]] inline NumberStatus ReadIntAt(const char* first, const char* last, int32_t& value,
                                                     const char*& stop) {
    const char* p = first;
    // Every white-space byte is at most ' ', so most bytes are ruled out by one comparison.
    while (p != last && static_cast<unsigned char>(*p) <= ' ' && IsSpace(*p)) ++p;
    bool negative = false;
    if (p != last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    stop = p;
    if (p == last || !IsDigit(*p)) return NumberStatus::Invalid;

    // The whole digit run is consumed even once it is too large, as strtol does; the magnitude stops
    // growing past 2^31 so it can never overflow.
    constexpr uint64_t kLimit = uint64_t{1} << 31;
    uint64_t magnitude = 0;
    // Nine digits stay below the limit, so the first ten are taken without the check.
    const char* const unchecked = last - p > 10 ? p + 10 : last;
    for (; p != unchecked && IsDigit(*p); ++p) magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    for (; p != last && IsDigit(*p); ++p) {
        if (magnitude <= kLimit) magnitude = magnitude * 10 + static_cast<uint64_t>(*p - '0');
    }
    stop = p;
    if (magnitude > (negative ? kLimit : kLimit - 1)) return NumberStatus::OutOfRange;
    value =
        static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
    return NumberStatus::Ok;
}

constexpr std::size_t kSampleFields = 1024;

const char* NextComma(const char* p, const char* last) {
    while (p != last && *p != ',') ++p;
    return p;
}

}  // namespace

NumberStatus ReadInt(const char* first, const char* last, int32_t& value) {
    const char* stop = nullptr;
    return ReadIntAt(first, last, value, stop);
}

NumberStatus SplitCsv(const char* text, std::size_t size, std::vector<uint32_t>& tiles, CsvFailure& failure) {
    const char* const end = text + size;
    tiles.clear();

    // A field's number cannot run past its comma (a comma is neither white space, sign nor digit), so
    // each field is read straight from the whole text and the scan for the comma resumes where the
    // number ended: every byte is looked at once, however many fields there are.
    const char* start = text;
    for (std::size_t field = 1;; ++field) {
        int32_t value = 0;
        const char* stop = start;
        const NumberStatus status = ReadIntAt(start, end, value, stop);
        const char* comma = NextComma(stop, end);
        if (status != NumberStatus::Ok) {
            failure = CsvFailure{status, start, comma, field};
            return status;
        }
        tiles.push_back(static_cast<uint32_t>(value));
        if (comma == end) return NumberStatus::Ok;
        start = comma + 1;
        // Tile layers repeat one field shape: the first fields tell how many the rest will hold, so
        // the list is sized once (with a tenth to spare) instead of growing by doubling.
        if (field == kSampleFields) {
            const double perByte = static_cast<double>(field) / static_cast<double>(start - text);
            tiles.reserve(field + static_cast<std::size_t>(perByte * static_cast<double>(end - start) * 1.1) +
                          1);
        }
    }
}

}  // namespace TmxParser
