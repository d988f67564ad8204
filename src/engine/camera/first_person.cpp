#include "engine/camera/first_person.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace Engine {

Camera1stPerson::Camera1stPerson(glm::vec3 position) : position(position) {}

void Camera1stPerson::SetLookAt() {
    const double pitch = rotation.x;
    const double yaw = rotation.y;
    const double cosPitch = std::cos(pitch);
    target = glm::vec3(static_cast<float>(position.x + std::sin(yaw) * cosPitch),
                       static_cast<float>(position.y + std::sin(pitch)),
                       static_cast<float>(position.z + std::cos(yaw) * cosPitch));
}

glm::mat4 Camera1stPerson::GetViewMatrix() {
    SetLookAt();
    // Undefined when looking straight up or down; the player's pitch limit keeps away from that.
    return glm::lookAtRH(position, target, glm::vec3(0.0f, 1.0f, 0.0f));
}

}  // namespace Engine
