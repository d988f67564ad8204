// A texture as the rest of the program knows it: an OpenGL texture name and its size in pixels.
// Records are made by CreateTexture on the main thread (the one holding the OpenGL context) and
// owned by the asset store; everyone else borrows them by pointer.
#pragma once

#include <GL/glew.h>

#include <cstdint>

namespace Engine {

struct RawBitmap;

struct Texture {
    GLuint id = 0;       // OpenGL texture name
    int32_t width = 0;   // pixels
    int32_t height = 0;  // pixels
};

// Uploads `raw` as a new RGBA texture with linear filtering, top row at t = 0, and releases `raw`.
// Returns null (and releases nothing) when `raw` has no pixels. Main thread only.
// Throws std::runtime_error "Failed to convert a raw bitmap data to a texture!" when no name is made.
// On that failure `raw` is not released and stays with the caller.
Texture* CreateTexture(RawBitmap* raw);

}  // namespace Engine
