#include "engine/assets/image_check.h"

#include "engine/assets/png_stream.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace Engine {

ImageBytes::ImageBytes(const std::string& path) : in(path, std::ios::binary) {
    if (!in) return;
    in.seekg(0, std::ios::end);
    const std::streamoff end = in.tellg();
    size = end > 0 ? static_cast<uint64_t>(end) : 0;
}

ImageBytes::ImageBytes(const unsigned char* data, std::size_t length) : memory(data), size(length) {}

bool ImageBytes::IsOpen() const { return memory != nullptr || static_cast<bool>(in); }

uint64_t ImageBytes::Size() const { return size; }

bool ImageBytes::Read(uint64_t offset, unsigned char* out, std::size_t count) {
    if (offset > size || count > size - offset) return false;
    if (memory) {
        if (count > 0) std::memcpy(out, memory + offset, count);
        return true;
    }
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in.gcount()) == count;
}

namespace {

// Larger than any texture the game ships and than most drivers accept; small enough that
// width * height * 4 always fits the decoder's int arithmetic.
uint32_t Be16(const unsigned char* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t Be32(const unsigned char* p) { return (Be16(p) << 16) | Be16(p + 2); }
uint32_t Le16(const unsigned char* p) { return (uint32_t{p[1]} << 8) | p[0]; }
uint32_t Le32(const unsigned char* p) { return (Le16(p + 2) << 16) | Le16(p); }

bool DimensionsPlausible(int64_t width, int64_t height) {
    if (width < 0 || height < 0 || width > kMaxImageDimension || height > kMaxImageDimension) return false;
    return width * height * 4 <= INT_MAX;
}

bool StartsWith(const unsigned char* head, size_t available, const char* magic) {
    const size_t length = std::strlen(magic);
    return available >= length && std::memcmp(head, magic, length) == 0;
}

// Reads the bytes of an image one after another through a window, for the checks that must walk
// all of the data the way the decoder will.
class ByteCursor {
public:
    ByteCursor(ImageBytes& bytes, uint64_t start) : bytes(bytes), position(start) {}

    bool AtEnd() const { return position >= bytes.Size(); }
    uint64_t Position() const { return position; }
    uint64_t Left() const { return AtEnd() ? 0 : bytes.Size() - position; }
    // The next byte; false at the end of the data.
    bool Next(unsigned char& byte) {
        if (position < windowStart || position >= windowStart + window.size()) {
            const uint64_t length = std::min<uint64_t>(Left(), 1 << 16);
            if (length == 0) return false;
            window.resize(static_cast<std::size_t>(length));
            if (!bytes.Read(position, window.data(), window.size())) return false;
            windowStart = position;
        }
        byte = window[static_cast<std::size_t>(position - windowStart)];
        ++position;
        return true;
    }
    void Skip(uint64_t count) { position += count; }
    void Seek(uint64_t offset) { position = offset; }

private:
    ImageBytes& bytes;
    uint64_t position;
    std::vector<unsigned char> window;
    uint64_t windowStart = 0;
};

// PNG: the IHDR chunk follows the signature. Every chunk up to IEND must lie inside the data: the
// decoder copies a chunk's claimed length straight out of a buffer in memory, unchecked. The image
// data (all IDAT chunks, joined) must inflate cleanly to no more than the header's size.
bool CheckPng(ImageBytes& file) {
    std::array<unsigned char, 29> head{};
    if (!file.Read(0, head.data(), head.size())) return false;
    if (std::memcmp(head.data() + 12, "IHDR", 4) != 0) return false;
    const uint64_t width = Be32(head.data() + 16);
    const uint64_t height = Be32(head.data() + 20);
    if (!DimensionsPlausible(static_cast<int64_t>(width), static_cast<int64_t>(height))) return false;
    const uint64_t rawBytes = PngRawBytes(width, height, head[25], head[24], head[28] != 0);
    uint64_t offset = 8;
    std::vector<unsigned char> compressed;
    std::array<unsigned char, 8> chunk{};
    while (file.Read(offset, chunk.data(), chunk.size())) {
        const uint64_t length = Be32(chunk.data());
        if (length > 0x7FFFFFFFu || offset + 12 + length > file.Size()) return false;
        if (std::memcmp(chunk.data() + 4, "IEND", 4) == 0) return PngStreamInflates(compressed, rawBytes);
        if (std::memcmp(chunk.data() + 4, "IDAT", 4) == 0) {
            if (compressed.size() + length > INT_MAX) return false;
            const size_t at = compressed.size();
            compressed.resize(at + static_cast<size_t>(length));
            if (length > 0 && !file.Read(offset + 8, compressed.data() + at, static_cast<size_t>(length))) {
                return false;
            }
        }
        offset += 12 + length;
    }
    return false;  // the data ends before IEND: a truncated file
}

bool IsJpegFrameMarker(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// A JPEG Huffman table segment: tables of a class/id byte, 16 code counts and the symbols. The
// decoder lays the codes out in a 256-entry array without checking the counts' sum, so a table
// with more than 256 codes overruns it; a segment cut short reads as zeros, as in the decoder.
bool HuffmanTablesFit(ImageBytes& file, uint64_t offset, uint64_t length) {
    std::vector<unsigned char> body(static_cast<size_t>(length));
    const uint64_t present = std::min<uint64_t>(length, file.Size() > offset ? file.Size() - offset : 0);
    if (present > 0 && !file.Read(offset, body.data(), static_cast<size_t>(present))) return false;
    size_t at = 0;
    while (at + 17 <= body.size()) {
        unsigned codes = 0;
        for (size_t i = 1; i <= 16; ++i) codes += body[at + i];
        if (codes > 256) return false;
        at += 17 + codes;
    }
    return true;
}

// JPEG: walk the markers the way the decoder finds them (bytes other than 0xFF between segments
// are skipped, the entropy-coded data after a scan header runs to the next marker). A segment whose
// length is below 2, or is cut off by the end of the data (the decoder then reads zeros), makes the
// decoder step backwards and loop for ever, so it is refused. The start-of-frame holds the size, and
// the decoder allocates every component plane from it before reading a pixel: a frame whose data
// could not hold even one bit per 8 x 8 block is refused too, so a few bytes cannot claim a huge image.
bool CheckJpeg(ImageBytes& file, uint64_t start) {
    ByteCursor cursor(file, start);
    unsigned char byte = 0;
    while (cursor.Next(byte)) {
        if (byte != 0xFF) continue;
        unsigned char marker = 0xFF;
        while (marker == 0xFF) {
            if (!cursor.Next(marker)) return true;
        }
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        if (marker == 0xD9) return true;
        const uint64_t start = cursor.Position();
        unsigned char high = 0;
        unsigned char low = 0;
        if (!cursor.Next(high) || !cursor.Next(low)) return false;
        const uint32_t length = (uint32_t{high} << 8) | low;
        if (length < 2) return false;
        if (IsJpegFrameMarker(marker)) {
            // Precision, height and width, read whatever the length says: so does the decoder.
            std::array<unsigned char, 5> frame{};
            if (!file.Read(start + 2, frame.data(), frame.size())) return false;
            const uint64_t width = Be16(frame.data() + 3);
            const uint64_t height = Be16(frame.data() + 1);
            if (!DimensionsPlausible(static_cast<int64_t>(width), static_cast<int64_t>(height))) return false;
            const uint64_t blocks = ((width + 7) / 8) * ((height + 7) / 8);
            if (file.Size() < blocks / 8) return false;
        }
        if (marker == 0xC4 && !HuffmanTablesFit(file, start + 2, length - 2)) return false;
        cursor.Seek(start + length);
    }
    return true;
}

// BMP: both header layouts; a negative height means top-down rows. Uncompressed pixel data must
// be present in full, since the decoder reads zeros past the end of the file.
bool CheckBmp(ImageBytes& file) {
    std::array<unsigned char, 34> head{};
    if (!file.Read(0, head.data(), 26)) return true;
    const uint32_t headerSize = Le32(head.data() + 14);
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t compression = 0;
    if (headerSize == 12) {
        width = static_cast<int16_t>(Le16(head.data() + 18));
        height = static_cast<int16_t>(Le16(head.data() + 20));
        bitsPerPixel = Le16(head.data() + 24);
    } else {
        if (!file.Read(0, head.data(), head.size())) return true;
        width = static_cast<int32_t>(Le32(head.data() + 18));
        height = static_cast<int32_t>(Le32(head.data() + 22));
        bitsPerPixel = Le16(head.data() + 28);
        compression = Le32(head.data() + 30);
    }
    height = std::llabs(height);
    if (!DimensionsPlausible(width, height)) return false;
    if (compression != 0) return true;
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const uint64_t dataOffset = Le32(head.data() + 10);
    return file.Size() >= dataOffset + rowBytes * static_cast<uint64_t>(height);
}

// PSD: height then width, big-endian.
bool CheckPsd(ImageBytes& file) {
    std::array<unsigned char, 22> head{};
    if (!file.Read(0, head.data(), head.size())) return true;
    return DimensionsPlausible(Be32(head.data() + 18), Be32(head.data() + 14));
}

// DDS: a 128-byte header (height, width, mipmap count, pixel format, caps), then each face (six for
// a square cube map) as its main image followed by its mipmaps, which the decoder skips. It reads
// blocks or pixel rows straight out of memory, unchecked, and sizes its buffer in int arithmetic,
// so every byte it will read must be present and the whole cube map must fit an int.
bool CheckDds(ImageBytes& file) {
    std::array<unsigned char, 128> head{};
    if (!file.Read(0, head.data(), head.size())) return false;
    const uint64_t height = Le32(head.data() + 12);
    const uint64_t width = Le32(head.data() + 16);
    const uint64_t mipmaps = Le32(head.data() + 28);
    const uint32_t formatFlags = Le32(head.data() + 80);
    const uint32_t fourCc = Le32(head.data() + 84);
    const uint32_t caps1 = Le32(head.data() + 108);
    const uint32_t caps2 = Le32(head.data() + 112);
    const uint64_t faces = (caps2 & 0x200u) != 0 && width == height ? 6 : 1;
    if (!DimensionsPlausible(static_cast<int64_t>(width), static_cast<int64_t>(height)) ||
        width * height * 4 * faces > INT_MAX) {
        return false;
    }
    const bool hasMipmaps = (caps1 & 0x400000u) != 0 && mipmaps > 1;
    if (hasMipmaps && mipmaps > 29) return false;  // more levels than any size has; shifts would wrap
    const bool compressed = (formatFlags & 0x4u) != 0;
    const uint64_t family = (fourCc >> 24) - '1' + 1;
    if (compressed && (family < 1 || family > 5)) return true;  // the decoder refuses it
    const uint64_t blockBytes = family == 1 ? 8 : 16;
    const uint64_t pixelBytes = (formatFlags & 0x1u) != 0 ? 4 : 3;
    auto levelBytes = [&](uint64_t w, uint64_t h) {
        w = std::max<uint64_t>(w, 1);
        h = std::max<uint64_t>(h, 1);
        return compressed ? ((w + 3) / 4) * ((h + 3) / 4) * blockBytes : w * h * pixelBytes;
    };
    uint64_t faceBytes = levelBytes(width, height);
    for (uint64_t level = 1; hasMipmaps && level < mipmaps; ++level) {
        // The decoder skips a mipmap as (size >> (level + 2)) blocks of 4 x 4, or (size >> level) rows.
        const uint64_t shift = compressed ? level + 2 : level;
        faceBytes += compressed ? std::max<uint64_t>(width >> shift, 1) *
                                      std::max<uint64_t>(height >> shift, 1) * blockBytes
                                : levelBytes(width >> shift, height >> shift);
    }
    return file.Size() >= head.size() + faces * faceBytes;
}

// One header line as the HDR decoder reads it: up to '\n' or the end, cut at 1023 bytes.
std::string HdrLine(ByteCursor& cursor) {
    std::string line;
    unsigned char c = 0;
    while (cursor.Next(c) && c != '\n') {
        if (line.size() < 1023) line.push_back(static_cast<char>(c));
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

// Radiance HDR: header lines up to an empty line, the resolution line "-Y height +X width", then
// the pixels, flat (4 bytes each) or run-length coded per scanline. The decoder reads flat pixels
// from memory without bounds checks, writes runs into a one-scanline buffer without checking their
// length, and keeps 16 bytes of floats per pixel. Worse, when it fails on an HDR image it converts
// the missing result anyway and crashes, so whatever it would refuse is refused here first.
bool CheckHdr(ImageBytes& file) {
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
    if (std::strncmp(text, "-Y ", 3) != 0) return false;
    char* end = nullptr;
    const long long height = std::strtoll(text + 3, &end, 10);
    while (*end == ' ') ++end;
    if (std::strncmp(end, "+X ", 3) != 0) return false;
    const long long width = std::strtoll(end + 3, nullptr, 10);
    if (width <= 0 || height <= 0 || !DimensionsPlausible(width, height) || width * height * 16 > INT_MAX) {
        return false;
    }
    return HdrScanlinesFit(cursor, static_cast<uint64_t>(width), static_cast<uint64_t>(height));
}

// True when the run-length packets from `start` cover `pixels` pixels of `pixelBytes` bytes each
// with every packet inside the data: each packet is a count byte and one pixel (a run) or count
// pixels (literals).
bool TgaPacketsFit(ImageBytes& file, uint64_t start, uint64_t pixels, uint64_t pixelBytes) {
    ByteCursor cursor(file, start);
    for (uint64_t covered = 0; covered < pixels;) {
        unsigned char header = 0;
        if (!cursor.Next(header)) return false;
        const uint64_t count = (header & 0x7Fu) + 1u;
        const uint64_t bytes = (header & 0x80u) != 0 ? pixelBytes : count * pixelBytes;
        if (cursor.Left() < bytes) return false;
        cursor.Skip(bytes);
        covered += count;
    }
    return true;
}

// TGA has no signature and is the decoder's last guess; only headers that look like one are
// checked. The colour map and the pixel data must be present in full: the decoder reads them out
// of memory unchecked, and sizes its buffers from the header before it reads a pixel, so a tiny
// run-length file must not make it allocate a large image either.
bool CheckTga(ImageBytes& file) {
    // A header cut short reads as zeros, just as the decoder reads it.
    std::array<unsigned char, 18> head{};
    if (!file.Read(0, head.data(), static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size()))))
        return false;
    const unsigned colorMapType = head[1];
    const unsigned imageType = head[2];
    const bool uncompressed = imageType >= 1 && imageType <= 3;
    const bool compressed = imageType >= 9 && imageType <= 11;
    if (colorMapType > 1 || !(uncompressed || compressed)) return true;
    const uint32_t width = Le16(head.data() + 12);
    const uint32_t height = Le16(head.data() + 14);
    if (!DimensionsPlausible(width, height)) return false;
    const uint64_t mapBytes = colorMapType == 1 ? uint64_t{Le16(head.data() + 3)} +
                                                      uint64_t{Le16(head.data() + 5)} * ((head[7] + 7u) / 8)
                                                : 0;
    const uint64_t dataStart = 18 + uint64_t{head[0]} + mapBytes;
    const uint64_t pixelBytes = std::max((head[16] + 7u) / 8, 1u);
    if (uncompressed) return file.Size() >= dataStart + uint64_t{width} * height * pixelBytes;
    return TgaPacketsFit(file, dataStart, uint64_t{width} * height, pixelBytes);
}

}  // namespace

bool ImageAcceptable(ImageBytes& file) {
    if (!file.IsOpen()) return false;
    std::array<unsigned char, 11> head{};
    const size_t available = static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size()));
    if (!file.Read(0, head.data(), available)) return false;
    if (StartsWith(head.data(), available, "\x89PNG\r\n\x1a\n")) return CheckPng(file);
    if (available >= 1 && head[0] == 0xFF) {
        // The decoder takes any run of 0xFF fill bytes before the start-of-image marker.
        ByteCursor cursor(file, 0);
        unsigned char byte = 0xFF;
        while (byte == 0xFF && cursor.Next(byte)) {
        }
        if (byte == 0xD8) return CheckJpeg(file, cursor.Position());
    }
    if (StartsWith(head.data(), available, "BM")) return CheckBmp(file);
    if (StartsWith(head.data(), available, "8BPS")) return CheckPsd(file);
    if (StartsWith(head.data(), available, "DDS ")) return CheckDds(file);
    if (StartsWith(head.data(), available, "#?RADIANCE\n")) return CheckHdr(file);
    return CheckTga(file);
}

}  // namespace Engine
