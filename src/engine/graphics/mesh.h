// One indexed triangle list in four OpenGL buffers (positions, indices, uvs, normals) plus CPU
// copies of the same arrays, which the stage's collision reads and the facade rewrites.
// Created and drawn on the main thread only; owned by its Model or by the Graphics facade.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace Engine {

struct Texture;

class Mesh {
public:
    // Copies the arrays and uploads each into its own GL_STATIC_DRAW buffer.
    Mesh(const std::vector<float>& positions, const std::vector<uint32_t>& indices,
         const std::vector<float>& uvs, const std::vector<float>& normals);
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Draws with `texture` on unit 0; writes wrap and filter into the texture at every draw.
    void Draw(GLuint texture, bool linear);
    // The same with the texture's name, or name 0 for null.
    void Draw(const Texture* texture, bool linear);
    // Wrap mode of later draws: clamp to edge (true) or repeat (false).
    void SetClampToEdge(bool clamp);
    // Replaces the CPU positions and overwrites the buffer from its start. An array longer than
    // the one the mesh was created with is refused (nothing changes).
    void UpdatePositions(const std::vector<float>& positions);
    // Replaces the CPU uvs and overwrites the buffer; a longer array than at creation is refused.
    void UpdateUVs(const std::vector<float>& uvs);
    // The same two from `count` floats at `values`; allocate nothing within the created size.
    void UpdatePositions(const float* values, size_t count);
    void UpdateUVs(const float* values, size_t count);

    const std::vector<float>& GetPositions() const { return positions; }
    const std::vector<float>& GetUVs() const { return uvs; }

private:
    GLuint positionBuffer = 0;
    GLuint indexBuffer = 0;
    GLuint uvBuffer = 0;
    GLuint normalBuffer = 0;
    std::vector<float> positions;
    std::vector<uint32_t> indices;
    std::vector<float> uvs;
    std::vector<float> normals;
    bool clampToEdge = false;
    size_t positionCapacity = 0;  // floats the position buffer was created with
    size_t uvCapacity = 0;        // floats the uv buffer was created with
};

}  // namespace Engine
