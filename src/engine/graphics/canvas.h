// An off-screen framebuffer (RGBA colour texture plus depth renderbuffer) the scene is drawn into
// at a fixed size. Created once by the application shell and kept for the run; main thread only.
#pragma once

#include "engine/core/types.h"

#include <GL/glew.h>

namespace Engine {

class Canvas {
public:
    // Creates and checks the framebuffer; throws "Failed to create a framebuffer!" if incomplete.
    Canvas(int width, int height);
    static Canvas* Create(int width, int height);  // new Canvas(width, height)

    void Bind();                // bind the framebuffer and set the viewport to its size
    Point GetSize() const;      // {width, height}
    GLuint GetTexture() const;  // the colour texture name

private:
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
    int32_t width = 0;
    int32_t height = 0;
    GLuint colorTexture = 0;
};

}  // namespace Engine
