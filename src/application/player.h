// The player: the one actor of the game. Turns the virtual gamepad into looking, walking and
// jumping, bobs the eye while walking, respawns after falling out of the world and places the
// first-person camera. Created once by the Game and owned by it. Main thread only.
#pragma once

#include "collision/actor.h"
#include "engine/camera/first_person.h"

#include <glm/glm.hpp>

namespace Application {

class Player final : public Actor {
public:
    // At `position`, which is also the spawn point; at rest, with the radius and the walking and
    // falling accelerations of the movement tunables.
    explicit Player(glm::vec3 position);

    // Takes the frame's input from the virtual gamepad, once per frame before its steps: the walk
    // stick, the mouse movement and the jump button as the frame's first step will see them. The
    // movement and a press or release that no step has used yet are kept.
    void ReadGamepad();
    // One step: look, gravity, jump and short jump, walk, head bob and respawn from the input that
    // ReadGamepad took. The look turns by the mouse movement itself (96 counts a radian), not by dt;
    // it and the jump button's press and release act on the first step after ReadGamepad only, so a
    // frame of many steps turns once, jumps once and cuts a jump short once.
    void UpdateControl(float dt) override;
    // Eye at the feet plus 2.0 (plus the bob on the ground); the camera takes the actor's angles.
    void UpdateCamera(Engine::Camera1stPerson& camera) const;
    // Whether the frame's input walks or jumps (looking around alone does not): what starts a run.
    bool HasMoveInput() const;

    float bobPhase = 0.0f;                      // head-bob phase, radians
    glm::vec3 spawnPosition{0.0f, 0.0f, 0.0f};  // where a fall out of the world puts the player back
    unsigned respawns = 0;                      // falls out of the world so far
    // What the latest step did that a player hears: a jump off the ground, and a footfall (the bob
    // passing its lowest point while walking on the ground).
    bool jumped = false;
    bool footfall = false;

private:
    glm::vec2 walk{0.0f, 0.0f};  // the left stick of the frame
    glm::vec2 look{0.0f, 0.0f};  // the right stick, until a step has turned by it
    int jump = 0;                // the jump button; Pressed and Released only until a step saw them
};

}  // namespace Application
