#include "engine/assets/image_check.h"

#include "engine/assets/byte_cursor.h"
#include "engine/assets/idat_source.h"
#include "engine/assets/png_stream.h"
#include "engine/assets/scanned_image_check.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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
    // A read of a quarter window or more goes straight to `out`: through the window it would be
    // read twice over, once for itself and once for the start of the next window.
    constexpr std::size_t kWindowBytes = std::size_t{1} << 16;
    const bool inWindow = offset >= windowStart && offset + count <= windowStart + window.size();
    if (!inWindow && count < kWindowBytes / 4) {
        window.resize(static_cast<std::size_t>(std::min<uint64_t>(kWindowBytes, size - offset)));
        windowStart = offset;
        in.clear();
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(reinterpret_cast<char*>(window.data()), static_cast<std::streamsize>(window.size()));
        if (static_cast<std::size_t>(in.gcount()) != window.size()) {
            window.clear();
            return false;
        }
    }
    if (count > 0 && offset >= windowStart && offset + count <= windowStart + window.size()) {
        std::memcpy(out, window.data() + (offset - windowStart), count);
        return true;
    }
    in.clear();
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
    return static_cast<std::size_t>(in.gcount()) == count;
}

namespace {

bool StartsWith(const unsigned char* head, size_t available, const char* magic) {
    const size_t length = std::strlen(magic);
    return available >= length && std::memcmp(head, magic, length) == 0;
}

// PNG: the IHDR chunk follows the signature. Every chunk up to IEND must lie inside the data, and
// the image data (all IDAT chunks, in file order wherever they stand) must inflate cleanly to no
// more than the header's size; both are checked in one pass over the chunks.
bool CheckPng(ImageBytes& file) {
    std::array<unsigned char, 29> head{};
    if (!file.Read(0, head.data(), head.size())) return false;
    if (std::memcmp(head.data() + 12, "IHDR", 4) != 0) return false;
    const uint64_t width = Be32(head.data() + 16);
    const uint64_t height = Be32(head.data() + 20);
    if (!DimensionsPlausible(static_cast<int64_t>(width), static_cast<int64_t>(height))) return false;
    const uint64_t rawBytes = PngRawBytes(width, height, head[25], head[24], head[28] != 0);
    if (rawBytes == 0 || rawBytes > INT_MAX) return false;
    IdatSource compressed(file, 8);
    return PngStreamInflates(compressed, rawBytes) && compressed.WalkToEnd() &&
           PngDataCanHold(compressed.DataBytes(), rawBytes);
}

// BMP: both header layouts; a negative height means top-down rows. The pixel data must be present
// in full, since the decoder reads zeros past the end of the file.
bool CheckBmp(ImageBytes& file) {
    // A header cut short reads as zeros, just as the decoder reads it.
    std::array<unsigned char, 34> head{};
    if (!file.Read(0, head.data(), static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size()))))
        return false;
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
        width = static_cast<int32_t>(Le32(head.data() + 18));
        height = static_cast<int32_t>(Le32(head.data() + 22));
        bitsPerPixel = Le16(head.data() + 28);
        compression = Le32(head.data() + 30);
    }
    height = std::llabs(height);
    if (!DimensionsPlausible(width, height)) return false;
    // The decoder allocates the image before it looks at the pixel format and does not free it when
    // it then refuses the format, so everything it cannot decode is refused here: bit depths other
    // than 1, 4, 8, 16, 24 and 32, compressions other than none and bit fields, and bit fields
    // whose masks are missing or all alike.
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
        bitsPerPixel != 24 && bitsPerPixel != 32) {
        return false;
    }
    if (compression != 0 && compression != 3) return false;
    if (compression == 3) {
        std::array<unsigned char, 12> masks{};
        if (!file.Read(54, masks.data(), masks.size())) return false;
        const uint32_t red = Le32(masks.data());
        const uint32_t green = Le32(masks.data() + 4);
        const uint32_t blue = Le32(masks.data() + 8);
        if (red == 0 || green == 0 || blue == 0 || (red == green && green == blue)) return false;
        if (bitsPerPixel != 16 && bitsPerPixel != 32) return false;
    }
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    const uint64_t dataOffset = Le32(head.data() + 10);
    return file.Size() >= dataOffset + rowBytes * static_cast<uint64_t>(height);
}

// PSD: height then width, big-endian; a header cut short reads as zeros, as in the decoder. The
// decoder allocates the image from the header before reading a pixel, so the data must at least
// hold a byte for every run of 128 pixels of every row (the densest its run-length coding goes).
bool CheckPsd(ImageBytes& file) {
    std::array<unsigned char, 22> head{};
    if (!file.Read(0, head.data(), static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size()))))
        return false;
    const uint64_t height = Be32(head.data() + 14);
    const uint64_t width = Be32(head.data() + 18);
    if (!DimensionsPlausible(static_cast<int64_t>(width), static_cast<int64_t>(height))) return false;
    return file.Size() >= height * ((width + 127) / 128);
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
        if (byte == 0xD8) return JpegAcceptable(file, cursor.Position());
    }
    if (StartsWith(head.data(), available, "BM")) return CheckBmp(file);
    if (StartsWith(head.data(), available, "8BPS")) return CheckPsd(file);
    if (StartsWith(head.data(), available, "DDS ")) return CheckDds(file);
    if (StartsWith(head.data(), available, "#?RADIANCE\n")) return HdrAcceptable(file);
    return CheckTga(file);
}

}  // namespace Engine
