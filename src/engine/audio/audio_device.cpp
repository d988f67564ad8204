#include "engine/audio/audio_device.h"

#include "engine/audio/sound.h"
#include "engine/audio/sound_data.h"

#include <al.h>
#include <alc.h>
#include <alext.h>

#include <algorithm>
#include <cstring>

namespace Engine {

namespace {

// OpenAL Soft's stand-in when no back end can play: it takes every call and sounds nothing.
constexpr const char* kNullOutput = "No Output";

ALCdevice* Device(void* device) { return static_cast<ALCdevice*>(device); }
ALCcontext* Context(void* context) { return static_cast<ALCcontext*>(context); }

// Every sound is the player's own, heard alike in both ears: no position, no distance fading.
void MakeHeadRelative(ALuint source) {
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
}

}  // namespace

AudioDevice::~AudioDevice() { Close(); }

bool AudioDevice::MakeCurrent() const {
    if (device == nullptr) return false;
    if (alcGetCurrentContext() != Context(context)) alcMakeContextCurrent(Context(context));
    return true;
}

bool AudioDevice::Open(std::string& reason) {
    Close();
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (opened == nullptr) {
        reason = "no audio device could be opened";
        return false;
    }
    const ALCchar* name = alcGetString(opened, ALC_ALL_DEVICES_SPECIFIER);
    if (name != nullptr && std::strcmp(name, kNullOutput) == 0) {
        alcCloseDevice(opened);
        reason = "no audio device, only OpenAL's silent null output";
        return false;
    }
    ALCcontext* made = alcCreateContext(opened, nullptr);
    if (made == nullptr || alcMakeContextCurrent(made) != ALC_TRUE) {
        if (made != nullptr) alcDestroyContext(made);
        alcCloseDevice(opened);
        reason = "the audio device refused a context";
        return false;
    }
    device = opened;
    context = made;
    alGetError();
    alGenSources(kVoices, voices.data());
    alGenSources(1, &ambience);
    if (alGetError() != AL_NO_ERROR) {
        // A device with fewer voices than the game needs; nothing was made, or all goes with it.
        voices.fill(0);
        ambience = 0;
        Close();
        reason = "the audio device has fewer than " + std::to_string(kVoices + 1) + " voices";
        return false;
    }
    for (ALuint voice : voices) MakeHeadRelative(voice);
    MakeHeadRelative(ambience);
    alSourcei(ambience, AL_LOOPING, AL_TRUE);
    startedAt.fill(0);
    plays = 0;
    ApplyGain();
    return true;
}

void AudioDevice::Close() {
    if (!MakeCurrent()) return;
    for (ALuint voice : voices) {
        if (voice == 0) continue;
        alSourceStop(voice);
        alSourcei(voice, AL_BUFFER, 0);
    }
    if (ambience != 0) {
        alSourceStop(ambience);
        alSourcei(ambience, AL_BUFFER, 0);
    }
    if (voices[0] != 0) alDeleteSources(kVoices, voices.data());
    if (ambience != 0) alDeleteSources(1, &ambience);
    if (!buffers.empty()) alDeleteBuffers(static_cast<ALsizei>(buffers.size()), buffers.data());
    voices.fill(0);
    ambience = 0;
    buffers.clear();
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(Context(context));
    alcCloseDevice(Device(device));
    context = nullptr;
    device = nullptr;
}

Sound* AudioDevice::CreateSound(const SoundData& data) {
    if (data.samples.empty() || !MakeCurrent()) return nullptr;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR) return nullptr;
    const ALenum format = data.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alBufferData(buffer, format, data.samples.data(),
                 static_cast<ALsizei>(data.samples.size() * sizeof(int16_t)), data.sampleRate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    buffers.push_back(buffer);
    Sound* sound = new Sound();
    sound->buffer = buffer;
    sound->seconds = static_cast<float>(static_cast<double>(data.Frames()) / data.sampleRate);
    return sound;
}

int AudioDevice::Play(const Sound* sound, float gain) {
    if (sound == nullptr || !MakeCurrent()) return -1;
    // A free voice if there is one, else the one that started longest ago gives way.
    int chosen = 0;
    for (int i = 0; i < kVoices; ++i) {
        ALint state = AL_STOPPED;
        alGetSourcei(voices[i], AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            chosen = i;
            break;
        }
        if (startedAt[i] < startedAt[chosen]) chosen = i;
    }
    const ALuint voice = voices[chosen];
    alSourceStop(voice);
    alSourcei(voice, AL_BUFFER, static_cast<ALint>(sound->buffer));
    alSourcef(voice, AL_GAIN, std::max(gain, 0.0f));
    alSourcePlay(voice);
    startedAt[chosen] = ++plays;
    return chosen;
}

void AudioDevice::PlayLoop(const Sound* sound, float gain) {
    if (!MakeCurrent()) return;
    alSourceStop(ambience);
    alSourcei(ambience, AL_BUFFER, sound != nullptr ? static_cast<ALint>(sound->buffer) : 0);
    if (sound == nullptr) return;
    alSourcef(ambience, AL_GAIN, std::max(gain, 0.0f));
    alSourcePlay(ambience);
}

void AudioDevice::SetVolume(float level) {
    volume = std::clamp(level, 0.0f, 1.0f);
    ApplyGain();
}

void AudioDevice::SetMuted(bool silent) {
    muted = silent;
    ApplyGain();
}

void AudioDevice::ApplyGain() {
    if (MakeCurrent()) alListenerf(AL_GAIN, muted ? 0.0f : volume);
}

int AudioDevice::PlayingVoices() const {
    if (!MakeCurrent()) return 0;
    int playing = 0;
    for (ALuint voice : voices) {
        ALint state = AL_STOPPED;
        alGetSourcei(voice, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING) ++playing;
    }
    return playing;
}

int64_t AudioDevice::MixedFrames() const {
    if (device == nullptr || !alcIsExtensionPresent(Device(device), "ALC_SOFT_device_clock")) return -1;
    const auto clock =
        reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(Device(device), "alcGetInteger64vSOFT"));
    ALCint rate = 0;
    alcGetIntegerv(Device(device), ALC_FREQUENCY, 1, &rate);
    if (clock == nullptr || rate <= 0) return -1;
    ALCint64SOFT nanoseconds = 0;
    clock(Device(device), ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    // The clock counts the frames mixed at the device's rate, in nanoseconds: back to whole frames.
    return static_cast<int64_t>((static_cast<long double>(nanoseconds) * rate + 500000000) / 1000000000);
}

}  // namespace Engine
