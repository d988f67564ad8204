// Render-state switches of the drawing object; each maps onto one or two OpenGL calls.
#include "engine/graphics/render_utility.h"

#include <GL/glew.h>

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

}  // namespace Engine
