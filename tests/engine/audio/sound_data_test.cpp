// Sound decoding: every shipped sound, and the files a modder might bring that must be refused with
// the file's name and a reason rather than crash or hang the loader.
#include "engine/audio/sound_data.h"

#include "application/asset_names.h"
#include "engine/assets/asset_buffer.h"
#include "engine/assets/asset_kinds.h"

#include "support/scratch_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// A WAV file: 16-bit PCM (or 32-bit float) samples, with the header's sizes as given.
std::string Wav(int channels, int rate, const std::vector<float>& samples, bool floating = false,
                uint32_t claimedDataBytes = 0) {
    std::string bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    const int width = floating ? 4 : 2;
    const uint32_t data = static_cast<uint32_t>(samples.size()) * width;
    bytes += "RIFF";
    put(36 + data, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(floating ? 3 : 1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * channels * width, 4);
    put(channels * width, 2);
    put(width * 8, 2);
    bytes += "data";
    put(claimedDataBytes != 0 ? claimedDataBytes : data, 4);
    for (float s : samples) {
        if (floating) {
            uint32_t raw = 0;
            std::memcpy(&raw, &s, 4);
            put(raw, 4);
        } else {
            put(static_cast<uint32_t>(static_cast<int16_t>(s * 32767.0f)) & 0xffffu, 2);
        }
    }
    return bytes;
}

TEST(SoundData, EveryShippedSoundDecodesAsTheGeneratorMadeIt) {
    const std::string game = STAGEWALK_SOURCE_DIR "/game/";
    const Engine::AssetBuffer buffer(game + "data/assets.tml", nullptr);
    size_t sounds = 0;
    for (const Engine::AssetEntry& entry : buffer.GetEntries()) {
        if (entry.kind != Engine::AssetKind::Sound) continue;
        ++sounds;
        std::unique_ptr<Engine::SoundData> sound(Engine::LoadSound(game + entry.path));
        EXPECT_EQ(sound->channels, 1) << entry.path;
        EXPECT_EQ(sound->sampleRate, 22050) << entry.path;
        EXPECT_GT(sound->Frames(), 22050u / 10) << entry.path << ": a tenth of a second at least";
        const auto [low, high] = std::minmax_element(sound->samples.begin(), sound->samples.end());
        EXPECT_GT(*high, 1000) << entry.path << " is not silent";
        EXPECT_LT(std::max(-int(*low), int(*high)), 32767) << entry.path << " is not clipped";
    }
    EXPECT_EQ(sounds, Application::AssetNames::Sounds.size()) << "every sound the game plays is shipped";
}

TEST(SoundData, RefusesWhatIsNoSoundItPlaysNamingTheFileAndTheReason) {
    TestSupport::ScratchDir dir;
    const std::vector<float> tone = {0.5f, -0.5f, 0.25f, -0.25f};
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;  // a part of the message
    } cases[] = {
        {"empty.wav", "", "Format not recognised"},
        {"text.wav", "this is not a sound file at all, just words", "Format not recognised"},
        {"cut.wav", Wav(1, 22050, tone).substr(0, 30), ""},
        {"surround.wav", Wav(6, 22050, std::vector<float>(12, 0.1f)), "6 channels"},
        {"slow.wav", Wav(1, 500, tone), "500 Hz"},
        {"silent.wav", Wav(1, 22050, {}), "no samples"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.Write(c.name, c.bytes);
        try {
            delete Engine::LoadSound(path);
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const std::runtime_error& error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("Failed to load a sound in " + path + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
    // A folder is no file: refused at once rather than read.
    EXPECT_THROW(delete Engine::LoadSound(dir.Path()), std::runtime_error);
}

TEST(SoundData, ReadsFloatSamplesToScaleAndADataChunkCutShortAsFarAsItGoes) {
    TestSupport::ScratchDir dir;
    std::unique_ptr<Engine::SoundData> floating(
        Engine::LoadSound(dir.Write("float.wav", Wav(2, 44100, {0.5f, -0.5f, 1.0f, 0.0f}, true))));
    ASSERT_EQ(floating->samples.size(), 4u);
    EXPECT_EQ(floating->channels, 2);
    EXPECT_NEAR(floating->samples[0], 16384, 2) << "not clipped to -1..1";
    EXPECT_NEAR(floating->samples[1], -16384, 2);
    // The header promises a megabyte; the file holds three frames.
    std::unique_ptr<Engine::SoundData> cut(
        Engine::LoadSound(dir.Write("cut.wav", Wav(1, 8000, {0.1f, 0.2f, 0.3f}, false, 1 << 20))));
    EXPECT_EQ(cut->Frames(), 3u);
}

}  // namespace
