// Fuzzes image decoding from memory: any bytes give an RGBA bitmap of plausible size, or the
// bitmap message; header checks must refuse absurd sizes before the decoder allocates.
#include "engine/assets/raw_bitmap.h"
#include "fuzz_input.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    std::unique_ptr<Engine::RawBitmap> bitmap;
    try {
        bitmap.reset(Engine::LoadBitmapFromMemory(data, size, "fuzz.img"));
    } catch (const std::runtime_error& error) {
        Fuzz::Require(std::string(error.what()) == "Failed to load a bitmap in fuzz.img",
                      "unexpected bitmap error text");
        return 0;
    }
    Fuzz::Require(bitmap->pixels != nullptr, "bitmap without pixels");
    Fuzz::Require(bitmap->width > 0 && bitmap->height > 0, "bitmap without area");
    Fuzz::Require(bitmap->width <= 16384 && bitmap->height <= 16384, "bitmap beyond the size limit");
    // Touch the last byte: the buffer must hold four bytes for every pixel.
    volatile unsigned char last = bitmap->pixels[size_t(bitmap->width) * size_t(bitmap->height) * 4 - 1];
    (void)last;
    return 0;
}
