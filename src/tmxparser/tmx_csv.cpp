#include "tmxparser/tmx_csv.h"

namespace TmxParser {

namespace {

constexpr std::size_t kSampleFields = 1024;

const char* NextComma(const char* p, const char* last) {
    while (p != last && *p != ',') ++p;
    return p;
}

}  // namespace

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
        const NumberStatus status = Common::ReadLeadingInt(start, end, value, stop);
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
