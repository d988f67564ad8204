#include "engine/assets/idat_source.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Engine {

IdatSource::IdatSource(ImageBytes& bytes, uint64_t firstChunk) : file(bytes), chunk(firstChunk) {}

std::size_t IdatSource::Fill(unsigned char* out, std::size_t capacity) {
    std::size_t filled = 0;
    while (filled < capacity && !ended) {
        if (left == 0) {
            std::array<unsigned char, 8> header{};
            if (!file.Read(chunk, header.data(), header.size()) ||
                std::memcmp(header.data() + 4, "IEND", 4) == 0) {
                ended = true;
                break;
            }
            const uint64_t length = Be32(header.data());
            if (std::memcmp(header.data() + 4, "IDAT", 4) == 0) {
                next = chunk + 8;
                left = length;
            }
            chunk += 12 + length;
            continue;
        }
        const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(left, capacity - filled));
        if (!file.Read(next, out + filled, count)) {
            ended = true;
            break;
        }
        filled += count;
        next += count;
        left -= count;
    }
    return filled;
}

}  // namespace Engine
