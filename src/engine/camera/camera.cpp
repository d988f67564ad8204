#include "engine/camera/camera.h"

namespace Engine {

glm::mat4 Camera::GetViewMatrix() { return glm::mat4(1.0f); }

}  // namespace Engine
