// The audio output: the default OpenAL device and its context, opened at start-up and closed at
// shutdown; the buffers made from decoded sounds; a fixed pool of voices (sources) that one-shot
// sounds take in turn, the oldest giving way when all are busy, and one voice of its own for the
// looping ambience. Without a device every operation does nothing, so the game plays on silently.
// Owned by the application shell; main thread only (the device's own mixer thread is OpenAL's).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Engine {

struct Sound;
struct SoundData;

class AudioDevice {
public:
    static constexpr int kVoices = 12;  // one-shot sounds at once; more than the game ever makes

    AudioDevice() = default;
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the default output device, a context and the voices. False, with the reason for the
    // player in `reason`, when there is none to play on (OpenAL's null output counts as none).
    bool Open(std::string& reason);
    // Stops every voice, deletes the voices and buffers, closes the context and the device. Safe
    // when nothing is open, and twice.
    void Close();
    bool IsOpen() const { return device != nullptr; }

    // A buffer holding `data`'s samples, or null without a device or when the device refuses it.
    // Owned by the caller; its buffer goes with the device.
    Sound* CreateSound(const SoundData& data);
    // Plays `sound` once at `gain` (1 as made) on a free voice, or on the one that started longest
    // ago; returns the voice, 0 to kVoices - 1, or -1 when nothing plays (a null sound, no device).
    // No allocation.
    int Play(const Sound* sound, float gain);
    // Plays `sound` round and round at `gain` on the ambience voice, in place of what it played.
    void PlayLoop(const Sound* sound, float gain);
    // The master volume, 0 (silent) to 1 (as made); muting keeps it for when sound comes back.
    void SetVolume(float volume);
    void SetMuted(bool muted);
    bool IsMuted() const { return muted; }

    // How many one-shot voices are playing now (tests and benchmarks).
    int PlayingVoices() const;
    // The device's clock: the output frames it has mixed so far, where a sound played now starts
    // (within one mixing period); -1 without a device or a clock.
    int64_t MixedFrames() const;

private:
    // Makes this device's context the current one: OpenAL calls go to the current context, and a
    // second device (a test's, a benchmark's) may have taken it over. False without a device.
    bool MakeCurrent() const;
    void ApplyGain();

    void* device = nullptr;   // ALCdevice
    void* context = nullptr;  // ALCcontext
    std::array<unsigned int, kVoices> voices{};
    std::array<uint64_t, kVoices> startedAt{};  // when each voice last started, in plays
    uint64_t plays = 0;
    unsigned int ambience = 0;
    std::vector<unsigned int> buffers;  // every buffer made, deleted at Close
    float volume = 1.0f;
    bool muted = false;
};

}  // namespace Engine
