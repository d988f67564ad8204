#include "common/seconds.h"

#include <cinttypes>
#include <cstdio>

namespace Common {

char* FormatSeconds(int64_t steps, int stepsPerSecond, char* out, size_t size) {
    const int64_t perSecond = stepsPerSecond > 0 ? stepsPerSecond : 1;
    const int64_t count = steps > 0 ? steps : 0;
    // Whole seconds and the rest apart: the rest times 100 stays small, whatever the count.
    int64_t seconds = count / perSecond;
    int64_t hundredths = (count % perSecond * 100 + perSecond / 2) / perSecond;
    if (hundredths == 100) {
        ++seconds;
        hundredths = 0;
    }
    std::snprintf(out, size, "%" PRId64 ".%02d", seconds, static_cast<int>(hundredths));
    return out;
}

}  // namespace Common
