// The one path by which geometry reaches the shader: three tightly packed attribute buffers at the
// contract's locations (0 position, 1 uv, 2 normal) plus an index buffer, drawn as triangles with
// no vertex array object. Used by Mesh and GlyphGrid; main thread, context current.
#pragma once

#include <GL/glew.h>

namespace Engine {

// Enables texturing and binds `texture` to unit 0.
void BindTextureUnit0(GLuint texture);
// Writes the filter into the bound texture, mag then min: linear or nearest.
void SetBoundTextureFilter(bool linear);

// Draws `count` indices as triangles from the four buffers, then unbinds them and disables the
// three attribute arrays again.
void DrawIndexedTriangles(GLuint positionBuffer, GLuint uvBuffer, GLuint normalBuffer, GLuint indexBuffer,
                          GLsizei count);

}  // namespace Engine
