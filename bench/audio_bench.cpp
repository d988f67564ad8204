// The audio's main-thread cost: what the shell does for sound in a frame (GameSounds::Play with no
// cue, one, a busy frame's four, a full list of sixteen), on a real device (OpenAL Soft's wave output
// written to nowhere, its mixer thread running) with the shipped sounds as buffers; and at start-up
// and shutdown (the device opened, the shipped sounds made buffers and the wind started, all closed).
#include "application/game_sounds.h"
#include "application/settings.h"
#include "engine/assets/asset_buffer.h"
#include "engine/assets/asset_kinds.h"
#include "engine/assets/assets.h"
#include "engine/audio/sound_data.h"
#include "support/silent_audio.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Application::Cue;

// The shell's sounds, opened once with the shipped ones loaded and the wind playing.
Application::GameSounds* Sounds(benchmark::State& state) {
    static std::unique_ptr<Application::GameSounds> sounds;
    static Engine::Assets assets;
    if (!sounds) {
        TestSupport::UseSilentAudio();
        sounds = std::make_unique<Application::GameSounds>();
        sounds->Open(Application::Settings());
        const std::string game = STAGEWALK_SOURCE_DIR "/game/";
        const Engine::AssetBuffer manifest(game + "data/assets.tml", nullptr);
        for (const Engine::AssetEntry& entry : manifest.GetEntries()) {
            if (entry.kind == Engine::AssetKind::Sound)
                assets.AddSoundData(entry.name, Engine::LoadSound(game + entry.path));
        }
        sounds->OnLoaded(assets);
    }
    if (!sounds->Device().IsOpen()) state.SkipWithError("no audio device");
    return sounds.get();
}

void PlayCues(benchmark::State& state, size_t count) {
    Application::GameSounds* sounds = Sounds(state);
    Application::StepCues cues;
    const Cue kinds[] = {Cue::Footstep, Cue::Land, Cue::Jump, Cue::Finish};
    for (size_t i = 0; i < count; ++i) cues.Push(kinds[i % 4], 0.5f);
    for (auto _ : state) {
        Application::StepCues frame = cues;
        sounds->Play(frame);
    }
}

// The shell's sound from start to end, as the main thread does it, the sounds decoded beforehand (on
// the loader thread in the game).
void AudioOpenLoadClose(benchmark::State& state) {
    Sounds(state);  // OpenAL itself started once, as in the program
    const std::string game = STAGEWALK_SOURCE_DIR "/game/";
    std::vector<std::pair<std::string, std::unique_ptr<Engine::SoundData>>> decoded;
    const Engine::AssetBuffer manifest(game + "data/assets.tml", nullptr);
    for (const Engine::AssetEntry& entry : manifest.GetEntries()) {
        if (entry.kind == Engine::AssetKind::Sound)
            decoded.emplace_back(entry.name, Engine::LoadSound(game + entry.path));
    }
    for (auto _ : state) {
        state.PauseTiming();
        Engine::Assets assets;
        for (const auto& [name, data] : decoded) assets.AddSoundData(name, new Engine::SoundData(*data));
        state.ResumeTiming();
        Application::GameSounds sounds;
        sounds.Open(Application::Settings());
        sounds.OnLoaded(assets);
        sounds.Close();
    }
}

void AudioFrameNoCue(benchmark::State& state) { PlayCues(state, 0); }
void AudioFrameOneCue(benchmark::State& state) { PlayCues(state, 1); }
void AudioFrameFourCues(benchmark::State& state) { PlayCues(state, 4); }
void AudioFrameFullList(benchmark::State& state) { PlayCues(state, Application::StepCues::kCapacity); }

}  // namespace

BENCHMARK(AudioFrameNoCue)->Unit(benchmark::kMicrosecond);
BENCHMARK(AudioFrameOneCue)->Unit(benchmark::kMicrosecond);
BENCHMARK(AudioFrameFourCues)->Unit(benchmark::kMicrosecond);
BENCHMARK(AudioFrameFullList)->Unit(benchmark::kMicrosecond);
BENCHMARK(AudioOpenLoadClose)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
