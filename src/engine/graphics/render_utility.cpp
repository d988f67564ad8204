// Render-state switches of the drawing object; each maps onto one or two OpenGL calls.
#include "engine/graphics/render_utility.h"

#include <GL/glew.h>

#include <cstdio>
#include <vector>

namespace Engine {

void RenderUtility::SetDepthTest(bool enabled) {
    if (enabled) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
}

void RenderUtility::SetAlphaBlending(bool enabled) {
    if (enabled) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
}

void RenderUtility::SetFaceCulling(bool enabled) {
    if (enabled) {
        glCullFace(GL_BACK);
        glEnable(GL_CULL_FACE);
    } else {
        glDisable(GL_CULL_FACE);
    }
}

void RenderUtility::SetLinearFilter(bool linear) { linearFilter = linear; }

void RenderUtility::Clear(Color color) {
    glClearDepth(1.0);
    glClearColor(color.r, color.g, color.b, color.a);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool RenderUtility::SaveFramebuffer(const std::string& path, int width, int height) const {
    if (width <= 0 || height <= 0) return false;
    const size_t row = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> pixels(row * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool written = std::fprintf(file, "P6\n%d %d\n255\n", width, height) > 0;
    // OpenGL reads the bottom row first; the image format starts at the top.
    for (int y = height - 1; y >= 0 && written; --y)
        written = std::fwrite(pixels.data() + row * static_cast<size_t>(y), 1, row, file) == row;
    return std::fclose(file) == 0 && written;
}

}  // namespace Engine
