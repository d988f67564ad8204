// Test support: the audio device the tests use, OpenAL Soft's wave output writing to /dev/null, so
// that the real sound code runs without a sound card and nothing plays through the speakers of the
// machine running the tests. Call before the first OpenAL call of the process; main thread.
#pragma once

namespace TestSupport {

// Sets ALSOFT_DRIVERS and ALSOFT_CONF unless the environment already chose a device.
void UseSilentAudio();

}  // namespace TestSupport
