#include "imagecheck/png_chunks.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ImageCheck {

bool ReadPngHeader(ImageBytes& file, PngHeader& header) {
    std::array<unsigned char, 29> head{};
    if (!file.Read(0, head.data(), head.size()) || std::memcmp(head.data() + 12, "IHDR", 4) != 0)
        return false;
    header.width = Be32(head.data() + 16);
    header.height = Be32(head.data() + 20);
    header.bitDepth = head[24];
    header.colorType = head[25];
    header.interlaced = head[28] != 0;
    return true;
}

PngChunks::PngChunks(ImageBytes& bytes) : file(bytes) {}

bool PngChunks::NextChunk() {
    while (!ended && !broken) {
        std::array<unsigned char, 8> header{};
        if (!file.Read(chunk, header.data(), header.size())) {
            broken = true;  // the data ends before IEND: a truncated file
            break;
        }
        const uint64_t length = Be32(header.data());
        if (length > 0x7FFFFFFFu || chunk + 12 + length > file.Size()) {
            broken = true;
            break;
        }
        const uint64_t start = chunk + 8;
        chunk += 12 + length;
        if (std::memcmp(header.data() + 4, "IEND", 4) == 0) ended = true;
        if (std::memcmp(header.data() + 4, "IDAT", 4) == 0 && length > 0) {
            next = start;
            left = length;
            return true;
        }
    }
    return false;
}

std::size_t PngChunks::Fill(unsigned char* out, std::size_t capacity) {
    std::size_t filled = 0;
    while (filled < capacity && (left > 0 || NextChunk())) {
        const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(left, capacity - filled));
        if (!file.Read(next, out + filled, count)) {
            broken = true;
            left = 0;
            break;
        }
        filled += count;
        next += count;
        left -= count;
    }
    return filled;
}

bool PngChunks::WalkToEnd() {
    left = 0;
    while (NextChunk()) left = 0;
    return ended && !broken;
}

}  // namespace ImageCheck
