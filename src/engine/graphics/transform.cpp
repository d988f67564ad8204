// CPU-side matrices and their save/restore stack. Only Apply talks to OpenGL.
#include "engine/graphics/transform.h"

#include "engine/graphics/shader_program.h"

#include <GL/glew.h>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace Engine {

namespace {

// Save levels made ready at Init, deeper than any frame of the game nests (the scene saves two
// levels at most), so that even the first frames push without allocating.
constexpr size_t PreparedDepth = 8;

// Drops the storage of a stack that holds nothing and makes room for the usual depth; a stack
// with entries keeps them.
void ReleaseIfEmpty(std::vector<glm::mat4>& stack) {
    if (!stack.empty()) return;
    std::vector<glm::mat4>().swap(stack);
    stack.reserve(PreparedDepth);
}

}  // namespace

void Transform::Init(ShaderProgram* program) {
    model = projection = view = glm::mat4(1.0f);
    depth = 0;
    ReleaseIfEmpty(modelStack);
    ReleaseIfEmpty(viewStack);
    ReleaseIfEmpty(projectionStack);
    const GLuint id = program->GetId();
    if (id == 0) {
        modelLocation = viewLocation = projectionLocation = 0;
        return;
    }
    modelLocation = glGetUniformLocation(id, "model");
    viewLocation = glGetUniformLocation(id, "view");
    projectionLocation = glGetUniformLocation(id, "projection");
}

void Transform::Identity() { model = glm::mat4(1.0f); }

void Transform::View(glm::mat4 m) { view = m; }

void Transform::LookAt(glm::vec3 eye, glm::vec3 center, glm::vec3 up) { view = glm::lookAt(eye, center, up); }

void Transform::Projection(float fovDegrees, Point size, float near, float far) {
    const float aspect = static_cast<float>(size.x) / static_cast<float>(size.y);
    projection = glm::perspective(fovDegrees * 3.1415927f / 180.0f, aspect, near, far);
}

void Transform::Ortho(float width, float height) {
    projection = glm::ortho(0.0f, width, height, 0.0f);
    view = glm::mat4(1.0f);
}

void Transform::Translate(float x, float y, float z) { model = glm::translate(model, glm::vec3(x, y, z)); }

void Transform::Scale(float x, float y, float z) { model = glm::scale(model, glm::vec3(x, y, z)); }

void Transform::Rotate(float angle, glm::vec3 axis) { model = glm::rotate(model, angle, axis); }

void Transform::PushMatrix() {
    ++depth;
    if (static_cast<size_t>(depth) > modelStack.size()) {
        modelStack.emplace_back(1.0f);
        projectionStack.emplace_back(1.0f);
        viewStack.emplace_back(1.0f);
    }
    const size_t slot = static_cast<size_t>(depth - 1);
    modelStack[slot] = model;
    projectionStack[slot] = projection;
    viewStack[slot] = view;
}

void Transform::PopMatrix() {
    // An unmatched pop would read before the first entry; it changes nothing instead.
    if (depth <= 0) return;
    --depth;
    const size_t slot = static_cast<size_t>(depth);
    model = modelStack[slot];
    projection = projectionStack[slot];
    view = viewStack[slot];
}

void Transform::ResetStack() { depth = 0; }

void Transform::Apply() {
    glUniformMatrix4fv(modelLocation, 1, GL_FALSE, glm::value_ptr(model));
    glUniformMatrix4fv(viewLocation, 1, GL_FALSE, glm::value_ptr(view));
    glUniformMatrix4fv(projectionLocation, 1, GL_FALSE, glm::value_ptr(projection));
}

}  // namespace Engine
