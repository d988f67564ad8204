// Character-cell quads: one shared position, normal and index buffer and a pre-built uv buffer
// per cell, so drawing a character only selects a buffer.
#include "engine/graphics/glyph_grid.h"

#include "engine/graphics/vertex_streams.h"

#include <GL/glew.h>

namespace Engine {

namespace {

template <typename T>
void Upload(GLenum target, GLuint buffer, const std::vector<T>& values) {
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(values.size() * sizeof(T)), values.data(), GL_STATIC_DRAW);
}

}  // namespace

GlyphGrid::GlyphGrid(int columns, int rows)
    : columns(columns),
      rows(rows),
      positions{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0},
      normals{0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1},
      indices{0, 1, 2, 2, 3, 0} {
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &indexBuffer);
    glGenBuffers(1, &normalBuffer);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            uvBuffers.push_back(0);
            glGenBuffers(1, &uvBuffers.back());
        }
    }

    Upload(GL_ARRAY_BUFFER, positionBuffer, positions);
    Upload(GL_ELEMENT_ARRAY_BUFFER, indexBuffer, indices);
    Upload(GL_ARRAY_BUFFER, normalBuffer, normals);

    // Row 0 is at v = 0, the top of the font image. The edges are accumulated cell by cell.
    const float du = 1.0f / static_cast<float>(columns);
    const float dv = 1.0f / static_cast<float>(rows);
    float top = 0.0f;
    for (int row = 0; row < rows; ++row) {
        const float bottom = top + dv;
        float left = 0.0f;
        for (int column = 0; column < columns; ++column) {
            const float right = left + du;
            const std::vector<float> uvs{left, top, right, top, right, bottom, left, bottom};
            Upload(GL_ARRAY_BUFFER, uvBuffers[static_cast<size_t>(row * columns + column)], uvs);
            left += du;
        }
        top += dv;
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

GLuint GlyphGrid::GetCellBuffer(int column, int row) const {
    if (column < 0 || column >= columns || row < 0 || row >= rows) return 0;
    return uvBuffers[static_cast<size_t>(row * columns + column)];
}

void GlyphGrid::DrawCell(int column, int row, GLuint texture, bool linear) {
    const GLuint uvBuffer = GetCellBuffer(column, row);
    if (uvBuffer == 0) return;  // outside the grid: nothing to draw

    BindTextureUnit0(texture);
    SetBoundTextureFilter(linear);  // glyph cells set no wrap mode
    DrawIndexedTriangles(positionBuffer, uvBuffer, normalBuffer, indexBuffer,
                         static_cast<GLsizei>(indices.size()));
}

}  // namespace Engine
