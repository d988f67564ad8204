// A decoded sound waiting to become a buffer on the audio device: made by LoadSound on the loader
// thread, held by the asset store, consumed by AudioDevice::CreateSound on the main thread. Plain
// memory, no device; any thread, one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Engine {

struct SoundData {
    int sampleRate = 0;            // frames per second
    int channels = 0;              // 1 (mono) or 2 (stereo, left first)
    std::vector<int16_t> samples;  // 16-bit signed PCM, frames interleaved

    size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// What a sound may be: longer ones are music, which the game does not stream, or a broken header.
inline constexpr int64_t kMaxSoundFrames = int64_t{1} << 24;      // 6 min 20 s at 44.1 kHz
inline constexpr int64_t kMaxSoundFileBytes = int64_t{64} << 20;  // a 16-bit stereo WAV of that length
inline constexpr int kLowestSampleRate = 1000;
inline constexpr int kHighestSampleRate = 384000;

// Decodes the sound file at `path`: any format libsndfile reads (WAV, FLAC, Ogg Vorbis, Opus, AIFF
// among them), mono or stereo, converted to 16-bit samples. Throws std::runtime_error
// "Failed to load a sound in " + path + ": " + the reason.
SoundData* LoadSound(const std::string& path);

// The same for `size` bytes of a sound file already in memory; `path` only names it in the message.
SoundData* LoadSoundFromMemory(const unsigned char* data, size_t size, const std::string& path);

}  // namespace Engine
