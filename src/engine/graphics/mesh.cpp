// Indexed triangle lists in four separate, tightly packed buffers at the attribute locations of
// the shader program: 0 position (3 floats), 1 texture coordinate (2), 2 normal (3).
#include "engine/graphics/mesh.h"

#include "engine/graphics/texture.h"
#include "engine/graphics/vertex_streams.h"

#include <GL/glew.h>

namespace Engine {

namespace {

template <typename T>
GLsizeiptr ByteSize(const std::vector<T>& values) {
    return static_cast<GLsizeiptr>(values.size() * sizeof(T));
}

template <typename T>
void Upload(GLenum target, GLuint buffer, const std::vector<T>& values) {
    glBindBuffer(target, buffer);
    glBufferData(target, ByteSize(values), values.data(), GL_STATIC_DRAW);
}

// Writes `values` over the start of `buffer`, which keeps the size it was created with.
void Rewrite(GLuint buffer, const std::vector<float>& values) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferSubData(GL_ARRAY_BUFFER, 0, ByteSize(values), values.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

}  // namespace

Mesh::Mesh(const std::vector<float>& positions, const std::vector<uint32_t>& indices,
           const std::vector<float>& uvs, const std::vector<float>& normals)
    : positions(positions),
      indices(indices),
      uvs(uvs),
      normals(normals),
      positionCapacity(positions.size()),
      uvCapacity(uvs.size()) {
    glGenBuffers(1, &positionBuffer);
    glGenBuffers(1, &indexBuffer);
    glGenBuffers(1, &uvBuffer);
    glGenBuffers(1, &normalBuffer);
    Upload(GL_ARRAY_BUFFER, positionBuffer, this->positions);
    Upload(GL_ELEMENT_ARRAY_BUFFER, indexBuffer, this->indices);
    Upload(GL_ARRAY_BUFFER, uvBuffer, this->uvs);
    Upload(GL_ARRAY_BUFFER, normalBuffer, this->normals);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void Mesh::Draw(GLuint texture, bool linear) {
    BindTextureUnit0(texture);
    // Wrap and filter live in the texture object, so they are written at every draw.
    if (clampToEdge) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
    SetBoundTextureFilter(linear);
    DrawIndexedTriangles(positionBuffer, uvBuffer, normalBuffer, indexBuffer,
                         static_cast<GLsizei>(indices.size()));
}

void Mesh::Draw(const Texture* texture, bool linear) { Draw(texture ? texture->id : 0u, linear); }

void Mesh::SetClampToEdge(bool clamp) { clampToEdge = clamp; }

void Mesh::UpdatePositions(const std::vector<float>& newPositions) {
    UpdatePositions(newPositions.data(), newPositions.size());
}

void Mesh::UpdateUVs(const std::vector<float>& newUVs) { UpdateUVs(newUVs.data(), newUVs.size()); }

void Mesh::UpdatePositions(const float* values, size_t count) {
    // The buffer cannot grow in place: a longer array would leave the CPU copy and the buffer
    // disagreeing, so it is refused whole. Within the created size the copy reuses its storage.
    if (count > positionCapacity) return;
    if (values != positions.data()) positions.assign(values, values + count);
    Rewrite(positionBuffer, positions);
}

void Mesh::UpdateUVs(const float* values, size_t count) {
    if (count > uvCapacity) return;
    if (values != uvs.data()) uvs.assign(values, values + count);
    Rewrite(uvBuffer, uvs);
}

}  // namespace Engine
