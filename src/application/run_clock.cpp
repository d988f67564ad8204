#include "application/run_clock.h"

namespace Application {

void RunClock::Reset() {
    phase = Phase::Waiting;
    steps = 0;
}

void RunClock::OnFrameInput(bool moving) {
    if (phase == Phase::Waiting && moving) phase = Phase::Running;
}

bool RunClock::OnStep(bool onFinish) {
    if (phase != Phase::Running) return false;
    ++steps;
    if (!onFinish) return false;
    phase = Phase::Finished;
    return true;
}

}  // namespace Application
