#include "application/run_clock.h"

#include <cinttypes>
#include <cstdio>

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

void RunClock::FormatSeconds(int64_t count, char* out, int size) {
    // In integers: hundredths = steps * 100 / 60, rounded half up, so equal step counts always
    // print alike and no float rounding shows at the second digit.
    const int64_t hundredths = (count * 100 + StepsPerSecond / 2) / StepsPerSecond;
    std::snprintf(out, static_cast<size_t>(size), "%" PRId64 ".%02d", hundredths / 100,
                  static_cast<int>(hundredths % 100));
}

}  // namespace Application
