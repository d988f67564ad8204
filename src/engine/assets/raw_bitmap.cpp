// Image decoding for the loader thread. SOIL's decoder allocates width * height * channels bytes
// straight from the file header without overflow checks and zero-fills what a short file lacks,
// so the header is read here first and implausible or truncated files are refused before decoding.
#include "engine/assets/raw_bitmap.h"

#include <SOIL/SOIL.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace Engine {

namespace {

// Larger than any texture the game ships and than most drivers accept; small enough that
// width * height * 4 always fits the decoder's int arithmetic.
constexpr int64_t kMaxDimension = 16384;

class ImageFile {
public:
    explicit ImageFile(const std::string& path) : in(path, std::ios::binary) {
        if (!in) return;
        in.seekg(0, std::ios::end);
        const std::streamoff end = in.tellg();
        size = end > 0 ? static_cast<uint64_t>(end) : 0;
    }

    bool IsOpen() const { return static_cast<bool>(in); }
    uint64_t Size() const { return size; }

    // Reads `count` bytes at `offset`; false when the file is shorter than that.
    bool Read(uint64_t offset, unsigned char* out, size_t count) {
        if (offset > size || count > size - offset) return false;
        in.clear();
        in.seekg(static_cast<std::streamoff>(offset));
        in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(count));
        return static_cast<size_t>(in.gcount()) == count;
    }

private:
    std::ifstream in;
    uint64_t size = 0;
};

uint32_t Be16(const unsigned char* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t Be32(const unsigned char* p) { return (Be16(p) << 16) | Be16(p + 2); }
uint32_t Le16(const unsigned char* p) { return (uint32_t{p[1]} << 8) | p[0]; }
uint32_t Le32(const unsigned char* p) { return (Le16(p + 2) << 16) | Le16(p); }

bool DimensionsPlausible(int64_t width, int64_t height) {
    if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension) return false;
    return width * height * 4 <= INT_MAX;
}

bool StartsWith(const unsigned char* head, size_t available, const char* magic) {
    const size_t length = std::strlen(magic);
    return available >= length && std::memcmp(head, magic, length) == 0;
}

// PNG: the IHDR chunk follows the signature. A missing IHDR is left to the decoder, which rejects it.
bool CheckPng(ImageFile& file) {
    std::array<unsigned char, 24> head{};
    if (!file.Read(0, head.data(), head.size())) return true;
    if (std::memcmp(head.data() + 12, "IHDR", 4) != 0) return true;
    return DimensionsPlausible(Be32(head.data() + 16), Be32(head.data() + 20));
}

bool IsJpegFrameMarker(unsigned marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// JPEG: walk the marker segments up to the first start-of-frame, which holds the size.
bool CheckJpeg(ImageFile& file) {
    uint64_t offset = 2;
    std::array<unsigned char, 9> segment{};
    while (file.Read(offset, segment.data(), 2)) {
        if (segment[0] != 0xFF) return true;  // not a marker: the decoder reports the corruption
        const unsigned marker = segment[1];
        if (marker == 0xFF) {  // fill byte
            ++offset;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // markers without a length
            offset += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return true;  // no frame header before the data
        if (!file.Read(offset, segment.data(), segment.size())) return true;
        if (IsJpegFrameMarker(marker)) {
            return DimensionsPlausible(Be16(segment.data() + 7), Be16(segment.data() + 5));
        }
        const uint32_t length = Be16(segment.data() + 2);
        if (length < 2) return true;
        offset += 2 + length;
    }
    return true;
}

// BMP: both header layouts; a negative height means top-down rows. Uncompressed pixel data must
// be present in full, since the decoder reads zeros past the end of the file.
bool CheckBmp(ImageFile& file) {
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
bool CheckPsd(ImageFile& file) {
    std::array<unsigned char, 22> head{};
    if (!file.Read(0, head.data(), head.size())) return true;
    return DimensionsPlausible(Be32(head.data() + 18), Be32(head.data() + 14));
}

// DDS: height then width after the header size and flags.
bool CheckDds(ImageFile& file) {
    std::array<unsigned char, 20> head{};
    if (!file.Read(0, head.data(), head.size())) return true;
    return DimensionsPlausible(Le32(head.data() + 16), Le32(head.data() + 12));
}

// Radiance HDR: text header lines, an empty line, then the resolution line "-Y h +X w".
bool CheckHdr(ImageFile& file) {
    std::array<char, 4096> head{};
    const size_t length = static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size() - 1));
    if (!file.Read(0, reinterpret_cast<unsigned char*>(head.data()), length)) return true;
    const char* blank = std::strstr(head.data(), "\n\n");
    if (!blank) return true;
    long long height = 0;
    long long width = 0;
    if (std::sscanf(blank + 2, "-Y %lld +X %lld", &height, &width) != 2) return true;
    return DimensionsPlausible(width, height);
}

// TGA has no signature and is the decoder's last guess; only headers that look like one are
// checked. Uncompressed pixel data must be present in full.
bool CheckTga(ImageFile& file) {
    std::array<unsigned char, 18> head{};
    if (!file.Read(0, head.data(), head.size())) return true;
    const unsigned colorMapType = head[1];
    const unsigned imageType = head[2];
    const bool uncompressed = imageType >= 1 && imageType <= 3;
    const bool compressed = imageType >= 9 && imageType <= 11;
    if (colorMapType > 1 || !(uncompressed || compressed)) return true;
    const uint32_t width = Le16(head.data() + 12);
    const uint32_t height = Le16(head.data() + 14);
    if (!DimensionsPlausible(width, height)) return false;
    if (!uncompressed) return true;
    const uint64_t mapBytes = colorMapType == 1 ? uint64_t{Le16(head.data() + 5)} * ((head[7] + 7u) / 8) : 0;
    const uint64_t pixelBytes = uint64_t{width} * height * ((head[16] + 7u) / 8);
    return file.Size() >= 18 + uint64_t{head[0]} + mapBytes + pixelBytes;
}

// False when the file cannot be read or its header must not reach the decoder.
bool HeaderAcceptable(const std::string& path) {
    ImageFile file(path);
    if (!file.IsOpen()) return false;
    std::array<unsigned char, 11> head{};
    const size_t available = static_cast<size_t>(std::min<uint64_t>(file.Size(), head.size()));
    if (!file.Read(0, head.data(), available)) return false;
    if (StartsWith(head.data(), available, "\x89PNG\r\n\x1a\n")) return CheckPng(file);
    if (available >= 2 && head[0] == 0xFF && head[1] == 0xD8) return CheckJpeg(file);
    if (StartsWith(head.data(), available, "BM")) return CheckBmp(file);
    if (StartsWith(head.data(), available, "8BPS")) return CheckPsd(file);
    if (StartsWith(head.data(), available, "DDS ")) return CheckDds(file);
    if (StartsWith(head.data(), available, "#?RADIANCE")) return CheckHdr(file);
    return CheckTga(file);
}

}  // namespace

RawBitmap::~RawBitmap() {
    if (pixels) SOIL_free_image_data(pixels);
}

RawBitmap* LoadBitmap(const std::string& path) {
    const std::string failure = "Failed to load a bitmap in " + path;
    if (!HeaderAcceptable(path)) throw std::runtime_error(failure);
    auto raw = std::make_unique<RawBitmap>();
    // Four channels whatever the file holds: the texture upload reads RGBA. `channels` keeps the
    // count the decoder reports for the file.
    raw->pixels = SOIL_load_image(path.c_str(), &raw->width, &raw->height, &raw->channels, SOIL_LOAD_RGBA);
    if (!raw->pixels) throw std::runtime_error(failure);
    return raw.release();
}

}  // namespace Engine
