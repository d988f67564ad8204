// The shell's side of sound: opens the audio device at start-up (or says in one line why the game
// is silent), makes the loaded sounds buffers on it, starts the wind, plays each frame's cues with
// the sound the game names for them, and keeps the volume and the mute. With STAGEWALK_SOUND_LOG=FILE
// in the environment it also writes, for every cue it plays, the frame and the device's clock into
// FILE, so a test can find each sound in what the device played. Owned by the application shell;
// main thread only.
#pragma once

#include "application/step_cues.h"
#include "engine/audio/audio_device.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace Engine {
class Assets;
struct Sound;
}  // namespace Engine

namespace Application {

struct Settings;

class GameSounds {
public:
    static constexpr float kWindGain = 0.6f;  // a bed under the other sounds, never over them

    // Opens the device with the settings' volume and mute; without one, prints
    // "Sound off: REASON" on standard output and every later call does nothing.
    void Open(const Settings& settings);
    // After loading: the store's sounds become buffers, the cues find theirs, the wind starts.
    void OnLoaded(Engine::Assets& assets);
    // Plays the cues of the frame's steps and empties the list, so a frame that runs no step (a
    // pause) plays nothing again; called once for every frame after loading.
    void Play(StepCues& cues);
    void ToggleMute();
    bool IsMuted() const { return device.IsMuted(); }
    void Close();

    Engine::AudioDevice& Device() { return device; }

private:
    Engine::AudioDevice device;
    std::array<const Engine::Sound*, kCueCount> cueSounds{};
    std::FILE* log = nullptr;
    int64_t frame = 0;  // frames played since loading
};

}  // namespace Application
