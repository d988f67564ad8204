// A first-person camera: an eye point aimed by pitch and yaw, the way a person looks around.
// Held by value by the stage; the player writes its position and angles every frame and the scene
// takes its view matrix for the 3-D pass. Main thread only.
#pragma once

#include "engine/camera/camera.h"

#include <glm/glm.hpp>

namespace Engine {

class Camera1stPerson : public Camera {
public:
    Camera1stPerson() = default;                   // all nine numbers zero
    explicit Camera1stPerson(glm::vec3 position);  // at `position`; target and angles zero

    // target = position + (sin yaw cos pitch, sin pitch, cos yaw cos pitch), in double precision.
    void SetLookAt();
    // Calls SetLookAt (so it rewrites target), then the right-handed look-at with up (0, 1, 0).
    glm::mat4 GetViewMatrix() override;

    glm::vec3 position{0.0f, 0.0f, 0.0f};  // the eye point
    glm::vec3 target{0.0f, 0.0f, 0.0f};    // the point looked at, derived from the angles
    glm::vec3 rotation{0.0f, 0.0f, 0.0f};  // x pitch (up positive), y yaw, z roll (never used)
};

}  // namespace Engine
