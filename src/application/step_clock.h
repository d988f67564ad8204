// Cuts the game's frames into simulation steps of exactly one 60-Hz frame, so the player moves along
// the same path at every frame rate: each frame runs the whole steps its time completes and carries
// the rest to the next. Owned by the Game; main thread only.
#pragma once

#include "common/step_rate.h"

namespace Application {

class StepClock {
public:
    static constexpr float StepLength = 1.0f;  // one 60-Hz frame: the step every rate is tuned for
    // A longer frame (a stall: a dragged window, a debugger, a suspended laptop) is cut to a second,
    // as Quake III does: the player neither walks blind for the whole stall nor stands still through
    // a slow machine's frames.
    static constexpr int MaxSteps = Common::StepsPerSecond;

    // Adds a frame of `dt` (60-Hz frames) and returns how many steps it completes, at most MaxSteps;
    // what is left of a step carries. A frame past MaxSteps drops its excess; NaN or dt <= 0 adds
    // nothing. A frame of exactly 1.0 is one step whatever came before.
    int Advance(float dt);

private:
    float carry = 0.0f;
};

}  // namespace Application
