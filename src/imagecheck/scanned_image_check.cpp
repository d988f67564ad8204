#include "imagecheck/scanned_image_check.h"

#include "common/leading_int.h"
#include "imagecheck/byte_cursor.h"
#include "imagecheck/jpeg_segments.h"

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace ImageCheck {

namespace {

// A JPEG Huffman table segment: tables of a class/id byte, 16 code counts and the symbols. The
// decoder lays the codes out in a 256-entry array without checking the counts' sum, so a table
// with more than 256 codes overruns it. It reads whole tables while the segment's length is not
// used up, past the segment's end if the length says less, and reads zeros past the end of the
// data; this walk does the same, and marks each table it walks in `defined` (bit 4 * class + id).
bool HuffmanTablesFit(ImageBytes& file, uint64_t offset, int64_t length, unsigned& defined) {
    ByteCursor cursor(file, offset);
    for (int64_t left = length; left > 0;) {
        unsigned char classAndId = 0;
        cursor.Next(classAndId);
        if ((classAndId >> 4) > 1 || (classAndId & 15) > 3) return true;  // the decoder refuses it
        defined |= 1u << ((classAndId >> 4) * 4 + (classAndId & 15));
        int64_t codes = 0;
        for (int i = 0; i < 16; ++i) {
            unsigned char count = 0;
            cursor.Next(count);
            codes += count;
        }
        if (codes > 256) return false;
        cursor.Skip(static_cast<uint64_t>(codes));
        left -= 17 + codes;
    }
    return true;
}

// One header line as the HDR decoder reads it: up to '\n' or the end, cut at 1023 bytes. The decoder
// then looks at the line as a C string, so a NUL ends it: a line that starts with one ends the header
// there, and a check that read past it would judge other scanlines than the decoder walks (one where
// it then loops for ever on zero-length runs past the data).
std::string HdrLine(ByteCursor& cursor) {
    std::string line;
    bool ended = false;
    unsigned char c = 0;
    while (cursor.Next(c) && c != '\n') {
        ended = ended || c == 0;
        if (!ended && line.size() < 1023) line.push_back(static_cast<char>(c));
    }
    return line;
}

// Walks run-length coded scanlines as the decoder does; false where it would read past the data or
// unpack a run past the end of its scanline buffer. A scanline that is not run-length coded turns
// the rest of the image into flat pixels, which must then be present in full.
bool HdrScanlinesFit(ByteCursor& cursor, uint64_t width, uint64_t height) {
    const uint64_t flatBytes = width * height * 4;
    if (width < 8 || width >= 32768) return cursor.Left() >= flatBytes;
    for (uint64_t row = 0; row < height; ++row) {
        std::array<unsigned char, 4> start{};
        for (unsigned char& byte : start) {
            if (!cursor.Next(byte)) return false;
        }
        if (start[0] != 2 || start[1] != 2 || (start[2] & 0x80) != 0) {
            return cursor.Left() + 4 >= flatBytes;
        }
        if (((uint64_t{start[2]} << 8) | start[3]) != width) return false;
        for (int component = 0; component < 4; ++component) {
            for (uint64_t x = 0; x < width;) {
                unsigned char count = 0;
                if (!cursor.Next(count)) return false;
                const uint64_t run = count > 128 ? count - 128u : count;
                if (x + run > width) return false;
                const uint64_t literal = count > 128 ? 1 : run;
                if (cursor.Left() < literal) return false;
                cursor.Skip(literal);
                x += run;
            }
        }
    }
    return true;
}

// A scan header: the component count, then each component's id and its DC and AC table ids. The
// decoder keeps its tables on the stack, unset until a DHT segment defines them, so a scan that
// names one no segment before it defined would decode through garbage pointers.
bool ScanTablesDefined(ImageBytes& file, uint64_t offset, unsigned defined) {
    std::array<unsigned char, 9> scan{};
    if (!file.ReadPadded(offset, scan.data(), scan.size())) return false;
    for (unsigned i = 0; i < scan[0] && i < 4; ++i) {
        const unsigned dc = scan[2 + 2 * i] >> 4;
        const unsigned ac = scan[2 + 2 * i] & 15;
        if (dc <= 3 && ac <= 3 && ((defined >> dc) & (defined >> (4 + ac)) & 1u) == 0) return false;
    }
    return true;
}

}  // namespace

// JPEG: the walk refuses segment lengths that would make the decoder loop. The start-of-frame holds
// the size, and the decoder allocates every component plane from it before reading a pixel: a frame
// whose data could not hold even one bit per 8 x 8 block is refused too, so a few bytes cannot claim
// a huge image.
bool JpegAcceptable(ImageBytes& file, uint64_t start) {
    JpegSegments segments(file, start);
    unsigned defined = 0;  // the Huffman tables defined so far
    while (segments.Next()) {
        if (IsJpegFrameMarker(segments.Marker())) {
            JpegFrame frame;
            if (!ReadJpegFrame(file, segments, frame) || !DimensionsPlausible(frame.width, frame.height))
                return false;
            const uint64_t blocks = ((uint64_t{frame.width} + 7) / 8) * ((uint64_t{frame.height} + 7) / 8);
            if (file.Size() < blocks / 8) return false;
        }
        const uint64_t data = segments.Offset() + 2;
        if (segments.Marker() == 0xC4 &&
            !HuffmanTablesFit(file, data, int64_t{segments.Length()} - 2, defined))
            return false;
        if (segments.Marker() == 0xDA && !ScanTablesDefined(file, data, defined)) return false;
    }
    return segments.Ending() != JpegSegments::End::kBadLength;
}

// Radiance HDR: header lines up to an empty line, the resolution line "-Y height +X width", then
// the pixels, flat (4 bytes each) or run-length coded per scanline. The decoder reads flat pixels
// from memory without bounds checks, writes runs into a one-scanline buffer without checking their
// length, and keeps 16 bytes of floats per pixel. Worse, when it fails on an HDR image it converts
// the missing result anyway and crashes, so whatever it would refuse is refused here first.
bool HdrAcceptable(ImageBytes& file) {
    ByteCursor cursor(file, 0);
    if (HdrLine(cursor) != "#?RADIANCE") return false;
    bool format = false;
    for (std::string line = HdrLine(cursor); !line.empty(); line = HdrLine(cursor)) {
        if (line == "FORMAT=32-bit_rle_rgbe") format = true;
    }
    if (!format) return false;
    const std::string resolution = HdrLine(cursor);
    // "-Y height +X width", each axis followed by exactly one space, as the decoder expects.
    const char* text = resolution.c_str();
    const char* const last = text + resolution.size();
    if (std::strncmp(text, "-Y ", 3) != 0) return false;
    int32_t height = 0;
    int32_t width = 0;
    const char* end = nullptr;
    if (Common::ReadLeadingInt(text + 3, last, height, end) != Common::NumberStatus::Ok) return false;
    while (*end == ' ') ++end;
    if (std::strncmp(end, "+X ", 3) != 0) return false;
    if (Common::ReadLeadingInt(end + 3, last, width) != Common::NumberStatus::Ok) return false;
    if (width <= 0 || height <= 0 || !DimensionsPlausible(width, height) ||
        static_cast<int64_t>(width) * height * 16 > INT_MAX) {
        return false;
    }
    return HdrScanlinesFit(cursor, static_cast<uint64_t>(width), static_cast<uint64_t>(height));
}

}  // namespace ImageCheck
