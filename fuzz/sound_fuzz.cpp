// Fuzzes sound decoding from memory: any bytes give mono or stereo samples at a rate the device
// plays, within the length limit, or the sound message naming the file and a reason.
#include "engine/audio/sound_data.h"
#include "fuzz_input.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > Fuzz::kMaxInput) return 0;
    std::unique_ptr<Engine::SoundData> sound;
    try {
        sound.reset(Engine::LoadSoundFromMemory(data, size, "fuzz.wav"));
    } catch (const std::runtime_error& error) {
        const std::string text = error.what();
        Fuzz::Require(text.rfind("Failed to load a sound in fuzz.wav: ", 0) == 0,
                      "unexpected sound error text");
        Fuzz::Require(text.size() > 36, "a refusal without a reason");
        return 0;
    }
    Fuzz::Require(sound->channels == 1 || sound->channels == 2, "neither mono nor stereo");
    Fuzz::Require(
        sound->sampleRate >= Engine::kLowestSampleRate && sound->sampleRate <= Engine::kHighestSampleRate,
        "a rate the device does not play");
    Fuzz::Require(!sound->samples.empty(), "a sound without samples");
    Fuzz::Require(sound->samples.size() % static_cast<size_t>(sound->channels) == 0, "a frame cut in half");
    Fuzz::Require(static_cast<int64_t>(sound->Frames()) <= Engine::kMaxSoundFrames,
                  "beyond the length limit");
    return 0;
}
