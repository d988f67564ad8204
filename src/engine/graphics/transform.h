// The model, view and projection matrices on the CPU side, a save/restore stack, and their upload
// to the shader program. A member of Graphics; main thread only (Apply needs the context).
// The stacks grow to the deepest level reached and are never shrunk, so pushing stops allocating.
#pragma once

#include "engine/core/types.h"

#include <glm/glm.hpp>

#include <vector>

namespace Engine {

class ShaderProgram;

class Transform {
public:
    // Matrices to identity, depth 0, empty stacks released; looks up "model", "view", "projection"
    // (all three locations 0 when the program name is 0).
    void Init(ShaderProgram* program);
    void Identity();                                             // model = identity
    void View(glm::mat4 m);                                      // view = m
    void LookAt(glm::vec3 eye, glm::vec3 center, glm::vec3 up);  // view = glm::lookAt
    // projection = perspective(fov in degrees, size.x / size.y, near, far)
    void Projection(float fovDegrees, Point size, float near, float far);
    void Ortho(float width, float height);      // top-left origin, y down; view = identity
    void Translate(float x, float y, float z);  // model = model * translation
    void Scale(float x, float y, float z);      // model = model * scaling
    void Rotate(float angle, glm::vec3 axis);   // model = model * rotation (radians)
    void PushMatrix();                          // save all three matrices
    void PopMatrix();                           // restore the last save; no-op at depth 0
    void ResetStack();                          // depth = 0, storage kept
    void Apply();                               // upload model, view, projection

    const glm::mat4& GetModel() const { return model; }
    const glm::mat4& GetView() const { return view; }
    const glm::mat4& GetProjection() const { return projection; }
    int32_t GetDepth() const { return depth; }
    size_t GetStackLength() const { return modelStack.size(); }

private:
    glm::mat4 model{1.0f};
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    std::vector<glm::mat4> modelStack;
    std::vector<glm::mat4> viewStack;
    std::vector<glm::mat4> projectionStack;
    int32_t depth = 0;
    int32_t modelLocation = 0;
    int32_t viewLocation = 0;
    int32_t projectionLocation = 0;
};

}  // namespace Engine
