#include "engine/assets/idat_source.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Engine {

IdatSource::IdatSource(ImageBytes& bytes, uint64_t firstChunk) : file(bytes), chunk(firstChunk) {}

bool IdatSource::NextChunk() {
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
            dataBytes += length;
            return true;
        }
    }
    return false;
}

std::size_t IdatSource::Fill(unsigned char* out, std::size_t capacity) {
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

bool IdatSource::WalkToEnd() {
    left = 0;
    while (NextChunk()) left = 0;
    return ended && !broken;
}

}  // namespace Engine
