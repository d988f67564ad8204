// Turns decoded bitmaps into OpenGL textures on the main thread.
#include "engine/graphics/texture.h"

#include "engine/assets/raw_bitmap.h"

#include <GL/glew.h>

#include <stdexcept>

namespace Engine {

Texture* CreateTexture(RawBitmap* raw) {
    if (!raw || !raw->pixels) return nullptr;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // The first row of the bitmap is the top of the image and becomes t = 0; no flip.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, raw->width, raw->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 raw->pixels);
    if (name == 0) throw std::runtime_error("Failed to convert a raw bitmap data to a texture!");

    auto* texture = new Texture;
    texture->id = name;
    texture->width = raw->width;
    texture->height = raw->height;
    delete raw;
    return texture;
}

}  // namespace Engine
