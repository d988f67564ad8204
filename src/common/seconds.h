// Game time as people read it: a count of steps as seconds with hundredths ("12.35"), rounded to
// the nearest hundredth in whole numbers, so equal counts always print alike and no count, however
// large, overflows. Allocates nothing; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Common {

// Writes "S.SS" for `steps` of 1/`stepsPerSecond` s into `out` (24 bytes hold any count); a negative
// count reads as 0. Returns `out`.
char* FormatSeconds(int64_t steps, int stepsPerSecond, char* out, size_t size);

}  // namespace Common
