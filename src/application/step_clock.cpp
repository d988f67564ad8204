#include "application/step_clock.h"

#include <cmath>

namespace Application {

int StepClock::Advance(float dt) {
    if (!(dt > 0.0f)) return 0;
    const float total = carry + dt;
    if (!(total < static_cast<float>(MaxSteps + 1))) {
        carry = 0.0f;
        return MaxSteps;
    }
    // Below 2^24 the whole part of a float and what is left over are both exact.
    const float steps = std::floor(total);
    carry = total - steps;
    return static_cast<int>(steps);
}

}  // namespace Application
