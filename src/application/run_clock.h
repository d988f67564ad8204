// The timer of a run from the spawn to a finish tile: waits for the first walking or jumping input
// after a spawn or respawn, then counts the steps until the player stands on a finish tile. Game time
// only (one step is 1/60 s), so a replay times a run as it was played. Owned by the Game; main thread.
#pragma once

#include <cstdint>

namespace Application {

class RunClock {
public:
    enum class Phase { Waiting, Running, Finished };

    // A spawn or respawn: the run waits for input again, at 0.
    void Reset();
    // The frame's input, before its steps: walking or jumping input starts a waiting run, and the
    // frame's steps then count.
    void OnFrameInput(bool moving);
    // After each step: a running run counts it, and ends when the player stands on a finish tile.
    // True on the step that ends it.
    bool OnStep(bool onFinish);

    Phase GetPhase() const { return phase; }
    int64_t GetSteps() const { return steps; }  // of the run so far, or of the finished run

private:
    Phase phase = Phase::Waiting;
    int64_t steps = 0;
};

}  // namespace Application
