// The engine's camera interface: something that yields a view matrix. Cameras are plain values
// owned by whoever draws through them (the stage holds the game's one). Main thread only.
#pragma once

#include <glm/glm.hpp>

namespace Engine {

class Camera {
public:
    // The world-to-eye matrix; identity for the base camera. Cameras are held by value and never
    // deleted through this interface, so there is no virtual destructor.
    virtual glm::mat4 GetViewMatrix();
};

}  // namespace Engine
