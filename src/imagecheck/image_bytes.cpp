#include "imagecheck/image_bytes.h"

#include <algorithm>
#include <cstring>

namespace ImageCheck {

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

bool ImageBytes::ReadPadded(uint64_t offset, unsigned char* out, std::size_t count) {
    const uint64_t available = offset < size ? std::min<uint64_t>(size - offset, count) : 0;
    std::memset(out, 0, count);
    return Read(std::min(offset, size), out, static_cast<std::size_t>(available));
}

}  // namespace ImageCheck
