#include "imagecheck/image_check.h"

#include "imagecheck/byte_cursor.h"
#include "imagecheck/png_chunks.h"
#include "imagecheck/png_stream.h"
#include "imagecheck/scanned_image_check.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace ImageCheck {

namespace {

// PNG: the IHDR chunk follows the signature. The decoder reads only 8-bit samples without
// interlacing and refuses the rest as it reads the header. Every chunk up to IEND must lie inside
// the data, and the image data (all IDAT chunks, in file order wherever they stand) must inflate
// cleanly to exactly the header's rows; both are checked in one pass over the chunks.
bool CheckPng(ImageBytes& file) {
    PngHeader header;
    if (!ReadPngHeader(file, header) || !DimensionsPlausible(header.width, header.height)) return false;
    if (header.bitDepth != 8 || header.interlaced) return false;
    const uint64_t rawBytes = PngRawBytes(header.width, header.height, header.colorType);
    PngChunks chunks(file);
    return rawBytes > 0 && PngStreamInflates(chunks, rawBytes) && chunks.WalkToEnd();
}

// Bit-field masks at `at`: present, none of them zero, and not all alike.
bool BmpMasksUsable(ImageBytes& file, uint64_t at) {
    std::array<unsigned char, 12> masks{};
    if (!file.Read(at, masks.data(), masks.size())) return false;
    const uint32_t red = Le32(masks.data());
    const uint32_t green = Le32(masks.data() + 4);
    const uint32_t blue = Le32(masks.data() + 8);
    return red != 0 && green != 0 && blue != 0 && !(red == green && green == blue);
}

// BMP: a negative height means top-down rows. The pixel data must be present in full, since the
// decoder reads zeros past the end of the file.
bool CheckBmp(ImageBytes& file) {
    BmpHeader header;
    if (!ReadBmpHeader(file, header) || !DimensionsPlausible(header.width, header.height)) return false;
    // The decoder allocates the image before it looks at the pixel format and does not free it when
    // it then refuses the format, so everything it cannot decode is refused here: bit depths other
    // than 1, 4, 8, 16, 24 and 32, compressions other than none and bit fields, and bit fields
    // whose masks are missing or all alike.
    const uint32_t depth = header.bitsPerPixel;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return false;
    if (header.compression != 0 && header.compression != 3) return false;
    // The decoder reads the masks after a 40-byte header, and 16 bytes further on after a 56-byte one;
    // those after 40 bytes are checked for every header, as they always were.
    if (header.compression == 3 && ((depth != 16 && depth != 32) || !BmpMasksUsable(file, 54) ||
                                    (header.headerSize == 56 && !BmpMasksUsable(file, 70)))) {
        return false;
    }
    return file.Size() >= header.dataOffset + header.DataBytes();
}

// PSD: height then width, big-endian; a header cut short reads as zeros, as in the decoder. The
// decoder allocates the image from the header before reading a pixel, so the data must at least
// hold a byte for every run of 128 pixels of every row (the densest its run-length coding goes).
bool CheckPsd(ImageBytes& file) {
    std::array<unsigned char, 22> head{};
    if (!file.ReadPadded(0, head.data(), head.size())) return false;
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
    if (!file.ReadPadded(0, head.data(), head.size())) return false;
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

uint64_t BmpHeader::DataBytes() const {
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    return rowBytes * static_cast<uint64_t>(height);
}

bool ReadBmpHeader(ImageBytes& file, BmpHeader& header) {
    std::array<unsigned char, 34> head{};
    if (!file.ReadPadded(0, head.data(), head.size())) return false;
    header.headerSize = Le32(head.data() + 14);
    const bool core = header.headerSize == 12;
    header.width = core ? int64_t{static_cast<int16_t>(Le16(head.data() + 18))}
                        : int64_t{static_cast<int32_t>(Le32(head.data() + 18))};
    header.height = std::llabs(core ? int64_t{static_cast<int16_t>(Le16(head.data() + 20))}
                                    : int64_t{static_cast<int32_t>(Le32(head.data() + 22))});
    header.bitsPerPixel = Le16(head.data() + (core ? 24 : 28));
    header.compression = core ? 0 : Le32(head.data() + 30);
    header.dataOffset = Le32(head.data() + 10);
    return true;
}

ImageFormat FormatOf(ImageBytes& file, uint64_t& jpegStart) {
    std::array<unsigned char, 11> head{};
    const size_t available = static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size()));
    if (!file.Read(0, head.data(), available)) return ImageFormat::kOther;
    auto starts = [&](const char* magic) {
        const size_t length = std::strlen(magic);
        return available >= length && std::memcmp(head.data(), magic, length) == 0;
    };
    if (starts("\x89PNG\r\n\x1a\n")) return ImageFormat::kPng;
    if (available >= 1 && head[0] == 0xFF) {
        ByteCursor cursor(file, 0);
        unsigned char byte = 0xFF;
        while (byte == 0xFF && cursor.Next(byte)) {
        }
        jpegStart = cursor.Position();
        if (byte == 0xD8) return ImageFormat::kJpeg;
    }
    if (starts("BM")) return ImageFormat::kBmp;
    if (starts("8BPS")) return ImageFormat::kPsd;
    if (starts("DDS ")) return ImageFormat::kDds;
    if (starts("#?RADIANCE\n")) return ImageFormat::kHdr;
    return ImageFormat::kOther;
}

bool ImageAcceptable(ImageBytes& file) {
    if (!file.IsOpen()) return false;
    uint64_t jpegStart = 0;
    switch (FormatOf(file, jpegStart)) {
        case ImageFormat::kPng:
            return CheckPng(file);
        case ImageFormat::kJpeg:
            return JpegAcceptable(file, jpegStart);
        case ImageFormat::kBmp:
            return CheckBmp(file);
        case ImageFormat::kPsd:
            return CheckPsd(file);
        case ImageFormat::kDds:
            return CheckDds(file);
        case ImageFormat::kHdr:
            return HdrAcceptable(file);
        default:
            return CheckTga(file);
    }
}

}  // namespace ImageCheck
