// The audio device on OpenAL Soft's wave output (written to nowhere): the voices taken in turn, the
// oldest giving way, and every call harmless without a device.
#include "engine/audio/audio_device.h"

#include "engine/audio/sound.h"
#include "engine/audio/sound_data.h"

#include "support/silent_audio.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Engine::AudioDevice;

Engine::SoundData Tone(double seconds) {
    Engine::SoundData data;
    data.sampleRate = 22050;
    data.channels = 1;
    data.samples.assign(static_cast<size_t>(seconds * data.sampleRate), 8000);
    return data;
}

TEST(AudioDevice, VoicesAreTakenInTurnAndTheOldestGivesWayWhenAllAreBusy) {
    TestSupport::UseSilentAudio();
    AudioDevice device;
    std::string reason;
    ASSERT_TRUE(device.Open(reason)) << reason;
    std::unique_ptr<Engine::Sound> sound(device.CreateSound(Tone(30.0)));
    ASSERT_NE(sound, nullptr);
    EXPECT_FLOAT_EQ(sound->seconds, 30.0f);
    for (int voice = 0; voice < AudioDevice::kVoices; ++voice)
        EXPECT_EQ(device.Play(sound.get(), 1.0f), voice);
    EXPECT_EQ(device.PlayingVoices(), AudioDevice::kVoices);
    EXPECT_EQ(device.Play(sound.get(), 0.5f), 0) << "the first started gives way";
    EXPECT_EQ(device.Play(sound.get(), 0.5f), 1);
    EXPECT_EQ(device.PlayingVoices(), AudioDevice::kVoices);
    EXPECT_EQ(device.Play(nullptr, 1.0f), -1);
    device.SetMuted(true);
    EXPECT_TRUE(device.IsMuted());
    EXPECT_GE(device.MixedFrames(), 0);
    device.Close();
    EXPECT_FALSE(device.IsOpen());
    // Closed, the device makes and plays nothing, and opens again.
    EXPECT_EQ(device.Play(sound.get(), 1.0f), -1);
    EXPECT_EQ(device.CreateSound(Tone(0.1)), nullptr);
    EXPECT_EQ(device.MixedFrames(), -1);
    device.PlayLoop(sound.get(), 1.0f);
    ASSERT_TRUE(device.Open(reason)) << reason;
    EXPECT_EQ(device.PlayingVoices(), 0);
}

// OpenAL calls go to the current context: a device opened or closed beside another must not take
// the other's calls.
TEST(AudioDevice, EachOfTwoDevicesPlaysOnItsOwn) {
    TestSupport::UseSilentAudio();
    AudioDevice first, second;
    std::string reason;
    ASSERT_TRUE(first.Open(reason)) << reason;
    std::unique_ptr<Engine::Sound> sound(first.CreateSound(Tone(30.0)));
    ASSERT_TRUE(second.Open(reason)) << reason;
    EXPECT_EQ(first.Play(sound.get(), 1.0f), 0);
    EXPECT_EQ(first.PlayingVoices(), 1);
    EXPECT_EQ(second.PlayingVoices(), 0);
    second.Close();
    EXPECT_EQ(first.Play(sound.get(), 1.0f), 1);
    EXPECT_EQ(first.PlayingVoices(), 2);
}

}  // namespace
