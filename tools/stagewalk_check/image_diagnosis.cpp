#include "stagewalk_check/image_diagnosis.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace StagewalkCheck {

namespace {

using Engine::Be16;
using Engine::Be32;
using Engine::Le16;
using Engine::Le32;

const char* const CutShort = "the file is cut short: save or copy it again";

std::string TooLarge(uint64_t width, uint64_t height) {
    if (width <= Engine::kMaxImageDimension && height <= Engine::kMaxImageDimension) return std::string();
    return "it is " + std::to_string(width) + " x " + std::to_string(height) + " pixels, more than the " +
           std::to_string(Engine::kMaxImageDimension) + " a side the game accepts: scale it down";
}

void Add(std::vector<std::string>& reasons, const std::string& reason) {
    if (!reason.empty()) reasons.push_back(reason);
}

// Signature, IHDR (size, bit depth, interlacing), then every chunk must lie inside the file up to IEND.
void ExplainPng(Engine::ImageBytes& file, std::vector<std::string>& reasons) {
    std::array<unsigned char, 29> head{};
    if (!file.Read(0, head.data(), head.size()) || std::memcmp(head.data() + 12, "IHDR", 4) != 0) {
        Add(reasons, CutShort);
        return;
    }
    Add(reasons, TooLarge(Be32(head.data() + 16), Be32(head.data() + 20)));
    if (head[24] != 8) {
        Add(reasons, "it is a " + std::to_string(head[24]) +
                         "-bit PNG, and the decoder reads 8-bit PNGs only: save it as an 8-bit PNG");
    }
    if (head[28] != 0)
        Add(reasons, "it is an interlaced PNG, which the decoder does not read: save it without interlacing");
    std::array<unsigned char, 8> chunk{};
    for (uint64_t offset = 8;; offset += 12 + uint64_t{Be32(chunk.data())}) {
        if (!file.Read(offset, chunk.data(), chunk.size()) ||
            offset + 12 + Be32(chunk.data()) > file.Size()) {
            Add(reasons, CutShort);
            return;
        }
        if (std::memcmp(chunk.data() + 4, "IEND", 4) == 0) return;
    }
}

// What a JPEG frame header says: progressive coding, 12-bit samples and CMYK are not decoded.
void ExplainJpegFrame(unsigned marker, const unsigned char* frame, std::vector<std::string>& reasons) {
    if (marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE) {
        Add(reasons,
            "it is a progressive JPEG, which the decoder does not read: save it as a baseline "
            "(standard) JPEG or as an 8-bit PNG");
    }
    if (frame[0] != 8) {
        Add(reasons, "it is a " + std::to_string(frame[0]) +
                         "-bit JPEG, and the decoder reads 8-bit JPEGs only: save it with 8 bits a channel");
    }
    Add(reasons, TooLarge(Be16(frame + 3), Be16(frame + 1)));
    if (frame[5] == 4) Add(reasons, "it is a CMYK JPEG, which the decoder does not read: save it as RGB");
}

// The marker segments from the start of image to its end; the coded data after each scan is
// skipped up to the next marker.
void ExplainJpeg(Engine::ImageBytes& file, std::vector<std::string>& reasons) {
    uint64_t at = 2;
    unsigned char byte = 0;
    auto next = [&]() { return file.Read(at++, &byte, 1); };
    while (true) {
        if (!next()) break;
        if (byte != 0xFF) continue;  // coded data of the scan before
        while (byte == 0xFF) {
            if (!next()) break;
        }
        const unsigned marker = byte;
        if (marker == 0xD9) return;  // end of image
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;
        std::array<unsigned char, 8> segment{};
        if (!file.Read(at, segment.data(), 2)) break;
        const uint64_t length = Be16(segment.data());
        if (length < 2 || at + length > file.Size()) break;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame && length >= 8 && file.Read(at + 2, segment.data(), 6))
            ExplainJpegFrame(marker, segment.data(), reasons);
        at += length;
    }
    Add(reasons, CutShort);
}

// BMP with an information header: the rows must all be in the file.
void ExplainBmp(Engine::ImageBytes& file, std::vector<std::string>& reasons) {
    std::array<unsigned char, 30> head{};
    if (!file.Read(0, head.data(), head.size())) {
        Add(reasons, CutShort);
        return;
    }
    if (Le32(head.data() + 14) < 40) return;
    const int64_t width = static_cast<int32_t>(Le32(head.data() + 18));
    const int64_t signedHeight = static_cast<int32_t>(Le32(head.data() + 22));
    const uint64_t height = static_cast<uint64_t>(signedHeight < 0 ? -signedHeight : signedHeight);
    if (width < 0) return;
    Add(reasons, TooLarge(static_cast<uint64_t>(width), height));
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * Le16(head.data() + 28) + 31) / 32 * 4;
    if (reasons.empty() && file.Size() < Le32(head.data() + 10) + rowBytes * height) Add(reasons, CutShort);
}

struct Foreign {
    const char* magic;
    size_t offset;
    const char* name;
};

}  // namespace

std::string ExplainRefusedImage(Engine::ImageBytes& file) {
    if (!file.IsOpen()) return std::string();
    if (file.Size() == 0) return "the file is empty";
    std::array<unsigned char, 12> head{};
    const size_t available = file.Size() < head.size() ? static_cast<size_t>(file.Size()) : head.size();
    file.Read(0, head.data(), available);
    auto starts = [&](const char* magic, size_t offset) {
        const size_t length = std::strlen(magic);
        return available >= offset + length && std::memcmp(head.data() + offset, magic, length) == 0;
    };
    std::vector<std::string> reasons;
    if (starts("\x89PNG\r\n\x1a\n", 0)) {
        ExplainPng(file, reasons);
    } else if (available >= 2 && head[0] == 0xFF && head[1] == 0xD8) {
        ExplainJpeg(file, reasons);
    } else if (starts("BM", 0)) {
        ExplainBmp(file, reasons);
    } else {
        static const Foreign foreign[] = {{"GIF8", 0, "a GIF"},
                                          {"WEBP", 8, "a WebP"},
                                          {"II*", 0, "a TIFF"},
                                          {"MM", 0, "a TIFF"},
                                          {"ftyp", 4, "an HEIF or AVIF"}};
        for (const Foreign& f : foreign) {
            if (starts(f.magic, f.offset)) {
                return std::string("it is ") + f.name +
                       " image, which the decoder does not read: save it as an 8-bit PNG";
            }
        }
    }
    std::string text;
    for (const std::string& reason : reasons) text += (text.empty() ? "" : "; ") + reason;
    return text;
}

}  // namespace StagewalkCheck
