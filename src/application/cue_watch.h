// Turns what one step did to the player into cues: the jump and the footfalls it reports, a landing
// after a flight (the longer the fall, the louder) and a respawn. Owned by the Game, one per player;
// main thread only.
#pragma once

#include "application/step_cues.h"

namespace Application {

class Player;

class CueWatch {
public:
    static constexpr int kLeastAirSteps = 3;  // a shorter flight (a bump, a curb) lands unheard
    static constexpr float kQuietestLanding = 0.35f;
    static constexpr float kLoudestDrop = 20.0f;  // world units fallen for the loudest landing

    // After the step's collision pass, with the player as the step left it.
    void OnStep(const Player& player, StepCues& cues);
    // The loudness of a landing after falling `drop` units from the flight's highest point.
    static float LandingLoudness(float drop);

private:
    bool wasOnGround = false;
    int airSteps = 0;
    float peak = 0.0f;  // the highest the feet were since leaving the ground
    unsigned respawnsSeen = 0;
};

}  // namespace Application
