// A unit quad with one pre-built uv buffer per character cell of a columns x rows texture grid,
// so text is drawn without rewriting texture coordinates. Owned by Graphics; main thread only.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace Engine {

class GlyphGrid {
public:
    GlyphGrid(int columns, int rows);
    GlyphGrid(const GlyphGrid&) = delete;
    GlyphGrid& operator=(const GlyphGrid&) = delete;

    // Draws cell (column, row) with `texture` on unit 0, filter as given; no wrap parameters set.
    // A cell outside the grid draws nothing.
    void DrawCell(int column, int row, GLuint texture, bool linear);

    int GetColumns() const { return columns; }
    int GetRows() const { return rows; }
    size_t GetCellBufferCount() const { return uvBuffers.size(); }
    // The uv buffer of cell (column, row), or 0 outside the grid.
    GLuint GetCellBuffer(int column, int row) const;

private:
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<uint32_t> indices;
    GLuint positionBuffer = 0;
    std::vector<GLuint> uvBuffers;  // cell (col, row) at row * columns + col
    GLuint normalBuffer = 0;
    GLuint indexBuffer = 0;
};

}  // namespace Engine
