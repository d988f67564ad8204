// Render-state switches of the drawing object: depth test, blending, culling, the texture filter
// of later draws, and clearing. The base of Graphics; main thread only, context current.
#pragma once

#include "engine/core/types.h"

#include <string>

namespace Engine {

class RenderUtility {
public:
    void SetDepthTest(bool enabled);      // glEnable/glDisable(GL_DEPTH_TEST)
    void SetAlphaBlending(bool enabled);  // GL_BLEND with (SRC_ALPHA, ONE_MINUS_SRC_ALPHA)
    void SetFaceCulling(bool enabled);    // glEnable/glDisable(GL_CULL_FACE), back faces
    void SetLinearFilter(bool linear);    // the filter of later draws; no OpenGL call
    void Clear(Color color);              // clears colour and depth of the bound framebuffer
    // Writes the bound framebuffer's lower-left `width` x `height` pixels, as they stand before the
    // swap, to `path` as a binary PPM, top row first; false when the file cannot be written.
    bool SaveFramebuffer(const std::string& path, int width, int height) const;

protected:
    bool linearFilter = true;
};

}  // namespace Engine
