#include "application/game_sounds.h"

#include "application/asset_names.h"
#include "application/settings.h"
#include "engine/assets/assets.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace Application {

namespace {

// The sound of each cue, in the order of Cue; the log names the cues by them too.
constexpr const char* kCueSounds[kCueCount] = {
    AssetNames::Footstep, AssetNames::Jump, AssetNames::Land, AssetNames::Respawn, AssetNames::Finish,
};

}  // namespace

void GameSounds::Open(const Settings& settings) {
    if (const char* path = std::getenv("STAGEWALK_SOUND_LOG")) {
        log = std::fopen(path, "w");
        if (log == nullptr) std::cout << "Cannot write the sound log " << path << std::endl;
    }
    std::string reason;
    if (!device.Open(reason)) {
        std::cout << "Sound off: " << reason << std::endl;
        return;
    }
    device.SetVolume(settings.volume);
    device.SetMuted(settings.muted);
}

void GameSounds::OnLoaded(Engine::Assets& assets) {
    assets.CreateSounds(device);
    for (size_t cue = 0; cue < kCueCount; ++cue) cueSounds[cue] = assets.GetSound(kCueSounds[cue]);
    if (log != nullptr)
        std::fprintf(log, "loaded %s at %lld\n", AssetNames::Wind,
                     static_cast<long long>(device.MixedFrames()));
    device.PlayLoop(assets.GetSound(AssetNames::Wind), kWindGain);
}

void GameSounds::Play(StepCues& cues) {
    for (const CueEvent& event : cues) {
        const size_t cue = static_cast<size_t>(event.cue);
        if (log != nullptr) {
            std::fprintf(log, "frame %lld %s %.3f at %lld\n", static_cast<long long>(frame), kCueSounds[cue],
                         static_cast<double>(event.loudness), static_cast<long long>(device.MixedFrames()));
        }
        device.Play(cueSounds[cue], event.loudness);
    }
    cues.Clear();
    ++frame;
}

void GameSounds::ToggleMute() { device.SetMuted(!device.IsMuted()); }

void GameSounds::Close() {
    device.Close();
    if (log != nullptr) std::fclose(log);
    log = nullptr;
}

}  // namespace Application
