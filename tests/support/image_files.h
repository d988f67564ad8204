// Test support: writes small image files (PNG) for loader and texture tests. Any thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace TestSupport {

// Writes `pixels` (rows top to bottom, `channels` bytes per pixel) as a PNG; false on failure.
bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<uint8_t>& pixels);

// A solid RGBA image of the given size and colour, as a PNG.
bool WriteSolidPng(const std::string& path, int width, int height, uint8_t r, uint8_t g, uint8_t b,
                   uint8_t a);

}  // namespace TestSupport
