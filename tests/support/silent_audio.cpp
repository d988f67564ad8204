#include "support/silent_audio.h"

#include <cstdlib>

namespace TestSupport {

void UseSilentAudio() {
    if (std::getenv("ALSOFT_DRIVERS") != nullptr) return;
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", STAGEWALK_TEST_DATA "/silent-alsoft.conf", 1);
}

}  // namespace TestSupport
