// The game's sounds, made by simple synthesis (filtered noise, decaying tones) from fixed seeds:
// a footfall, the jump, the landing, the respawn, the finish and a loop of wind over the rooftops.
// Each is written as a mono 16-bit WAV file, the same bytes on every run. Generator only; one thread.
#pragma once

#include <string>
#include <vector>

namespace AssetGenerator {

inline constexpr int kSoundRate = 22050;  // frames per second of every generated sound

// Samples in [-1, 1] at kSoundRate.
using Samples = std::vector<double>;

Samples MakeFootstep();
Samples MakeJump();
Samples MakeLanding();
Samples MakeRespawn();
Samples MakeFinish();
Samples MakeWind();  // loops without a seam: its end runs on into its start

// The samples as a 16-bit PCM mono WAV file at kSoundRate; throws std::runtime_error on failure.
void WriteWav(const Samples& samples, const std::string& path);
// The same file's bytes.
std::string WavBytes(const Samples& samples);

}  // namespace AssetGenerator
