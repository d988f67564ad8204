// A decoded image waiting to become a texture: made by LoadBitmap on the loader thread, held by
// the asset store, consumed by CreateTexture on the main thread. No OpenGL; any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Engine {

struct RawBitmap {
    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;             // channels the file holds, as the decoder reports them
    unsigned char* pixels = nullptr;  // RGBA, 4 bytes per pixel whatever the file holds; rows top
                                      // to bottom, no padding; owned, freed by SOIL_free_image_data

    RawBitmap() = default;
    RawBitmap(const RawBitmap&) = delete;
    RawBitmap& operator=(const RawBitmap&) = delete;
    ~RawBitmap();
};

// Decodes the image file at `path` into RGBA pixels.
// Throws std::runtime_error "Failed to load a bitmap in " + path when the file cannot be decoded.
RawBitmap* LoadBitmap(const std::string& path);

// The same for `size` bytes of an image file already in memory; `path` only names it in the message.
RawBitmap* LoadBitmapFromMemory(const unsigned char* data, size_t size, const std::string& path);

}  // namespace Engine
