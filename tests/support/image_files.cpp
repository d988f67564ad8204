#include "support/image_files.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace TestSupport {

bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<uint8_t>& pixels) {
    return stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels) != 0;
}

bool WriteSolidPng(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a) {
    std::vector<uint8_t> pixels;
    pixels.reserve(static_cast<size_t>(width) * height * 4);
    for (int i = 0; i < width * height; ++i) pixels.insert(pixels.end(), {r, g, b, a});
    return WritePng(path, width, height, 4, pixels);
}

}  // namespace TestSupport
