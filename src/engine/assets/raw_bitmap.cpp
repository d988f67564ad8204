// Image decoding for the loader thread. Every image goes through the image screening first, so the
// decoder never sees a header or data it would mishandle.
#include "engine/assets/raw_bitmap.h"

#include "imagecheck/image_check.h"

#include <SOIL/SOIL.h>

#include <climits>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace Engine {

RawBitmap::~RawBitmap() {
    if (pixels) SOIL_free_image_data(pixels);
}

namespace {

// The decoder's result as a raw bitmap; an image without pixels or without area is no bitmap.
RawBitmap* Finish(std::unique_ptr<RawBitmap> raw, const std::string& failure) {
    if (!raw->pixels || raw->width <= 0 || raw->height <= 0) throw std::runtime_error(failure);
    return raw.release();
}

}  // namespace

RawBitmap* LoadBitmap(const std::string& path) {
    const std::string failure = "Failed to load a bitmap in " + path;
    ImageCheck::ImageBytes file(path);
    if (!ImageCheck::ImageAcceptable(file)) throw std::runtime_error(failure);
    auto raw = std::make_unique<RawBitmap>();
    // Four channels whatever the file holds: the texture upload reads RGBA. `channels` keeps the
    // count the decoder reports for the file.
    raw->pixels = SOIL_load_image(path.c_str(), &raw->width, &raw->height, &raw->channels, SOIL_LOAD_RGBA);
    return Finish(std::move(raw), failure);
}

RawBitmap* LoadBitmapFromMemory(const unsigned char* data, size_t size, const std::string& path) {
    const std::string failure = "Failed to load a bitmap in " + path;
    // The decoder takes the length as an int; nothing that large is an image the game could use.
    if (data == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX))
        throw std::runtime_error(failure);
    ImageCheck::ImageBytes bytes(data, size);
    if (!ImageCheck::ImageAcceptable(bytes)) throw std::runtime_error(failure);
    auto raw = std::make_unique<RawBitmap>();
    raw->pixels = SOIL_load_image_from_memory(data, static_cast<int>(size), &raw->width, &raw->height,
                                              &raw->channels, SOIL_LOAD_RGBA);
    return Finish(std::move(raw), failure);
}

}  // namespace Engine
