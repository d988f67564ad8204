#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "obj_writer.h"
#include "prng.h"

namespace AssetGenerator {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = kSoundRate;

size_t Frames(double seconds) { return static_cast<size_t>(std::lround(seconds * kRate)); }

// Rises over `attack` seconds, then falls by e every `decay` seconds.
double Envelope(double t, double attack, double decay) {
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// A state-variable filter, one sample at a time: low, band and high pass of its input at once.
struct Filter {
    double low = 0.0;
    double band = 0.0;
    double high = 0.0;
    void Run(double input, double cutoffHz, double damping) {
        const double f = 2.0 * std::sin(kPi * std::min(cutoffHz, kRate / 6.0) / kRate);
        high = input - low - damping * band;
        band += f * high;
        low += f * band;
    }
};

// Scales the samples so the loudest reaches `peak`, and fades the last 10 ms out so the sound ends
// without a click.
Samples Master(Samples samples, double peak, bool fadeOut = true) {
    double loudest = 0.0;
    for (double s : samples) loudest = std::max(loudest, std::fabs(s));
    if (loudest > 0.0) {
        for (double& s : samples) s *= peak / loudest;
    }
    if (fadeOut) {
        const size_t fade = std::min(samples.size(), Frames(0.01));
        for (size_t i = 0; i < fade; ++i) samples[samples.size() - 1 - i] *= static_cast<double>(i) / fade;
    }
    return samples;
}

// A thud and the crunch of grit under it: low noise and a falling low tone, both dying fast.
Samples Thud(Prng& noise, double seconds, double thumpHz, double decay, double cutoffHz) {
    Samples out(Frames(seconds));
    Filter body;
    Filter grit;
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double white = noise.Range(-1.0, 1.0);
        body.Run(white, cutoffHz, 0.9);
        grit.Run(white, 3500.0, 1.2);
        phase += 2.0 * kPi * thumpHz * (1.0 - 0.35 * std::min(t / decay, 1.0)) / kRate;
        out[i] = body.low * 1.4 * Envelope(t, 0.002, decay) +
                 0.7 * std::sin(phase) * Envelope(t, 0.004, decay * 1.3) +
                 grit.high * 0.25 * Envelope(t, 0.001, decay * 0.3);
    }
    return out;
}

// A bell-like note from `start` seconds: a few partials, the higher dying sooner.
void AddBell(Samples& out, double start, double hz, double amplitude, double decay) {
    const double partials[][2] = {{1.0, 1.0}, {2.0, 0.35}, {3.01, 0.15}};
    for (size_t i = Frames(start); i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate - start;
        for (const auto& [ratio, level] : partials) {
            out[i] +=
                amplitude * level * std::sin(2.0 * kPi * hz * ratio * t) * Envelope(t, 0.004, decay / ratio);
        }
    }
}

}  // namespace

Samples MakeFootstep() {
    Prng noise(0x5f00d);
    return Master(Thud(noise, 0.16, 120.0, 0.028, 900.0), 0.5);
}

Samples MakeLanding() {
    Prng noise(0x1a4d);
    return Master(Thud(noise, 0.36, 70.0, 0.07, 550.0), 0.85);
}

// A short push of breath and a rising tone: noise swept upward through a band, and a tone an octave up.
Samples MakeJump() {
    Prng noise(0x1e4f);
    Samples out(Frames(0.24));
    Filter breath;
    double phase = 0.0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double sweep = t / 0.24;
        breath.Run(noise.Range(-1.0, 1.0), 700.0 + 1500.0 * sweep, 0.5);
        phase += 2.0 * kPi * (230.0 + 230.0 * sweep) / kRate;
        const double tone = std::sin(phase) + 0.3 * std::sin(2.0 * phase);
        out[i] = 0.8 * breath.band * Envelope(t, 0.015, 0.07) + 0.45 * tone * Envelope(t, 0.006, 0.06);
    }
    return Master(out, 0.55);
}

// A shimmer that climbs: four notes of a major chord, one after another, over a soft rising hiss.
Samples MakeRespawn() {
    Prng noise(0x5ba);
    Samples out(Frames(0.8));
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (size_t n = 0; n < 4; ++n) AddBell(out, 0.08 * static_cast<double>(n), notes[n], 0.5, 0.25);
    Filter hiss;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        hiss.Run(noise.Range(-1.0, 1.0), 1500.0 + 3000.0 * t, 0.7);
        out[i] += 0.08 * hiss.band * Envelope(t, 0.3, 0.12);
    }
    return Master(out, 0.5);
}

// Bells: a rising arpeggio that ends on a held chord.
Samples MakeFinish() {
    Samples out(Frames(1.6));
    const double notes[] = {783.99, 1046.5, 1318.51, 1567.98};
    for (size_t n = 0; n < 4; ++n) AddBell(out, 0.09 * static_cast<double>(n), notes[n], 0.6, 0.55);
    for (size_t n = 0; n < 3; ++n) AddBell(out, 0.45, notes[n] / 2.0, 0.35, 0.6);
    return Master(out, 0.6);
}

// Noise through a slowly wandering band, swelling and easing. Every slow change turns a whole
// number of times in the loop, and the filter runs once round before the loop is kept, so the end
// leads on into the start.
Samples MakeWind() {
    const size_t frames = Frames(4.0);
    Prng seed(0x3173d);
    Samples white(frames);
    for (double& s : white) s = seed.Range(-1.0, 1.0);
    Samples out(frames);
    Filter gust;
    for (int round = 0; round < 2; ++round) {
        for (size_t i = 0; i < frames; ++i) {
            const double turn = 2.0 * kPi * static_cast<double>(i) / static_cast<double>(frames);
            const double swell = 0.6 + 0.25 * std::sin(turn) + 0.15 * std::sin(3.0 * turn + 1.0);
            gust.Run(white[i], 320.0 + 180.0 * std::sin(2.0 * turn + 0.5), 0.35);
            out[i] = gust.band * swell;
        }
    }
    return Master(out, 0.14, false);
}

std::string WavBytes(const Samples& samples) {
    std::string bytes;
    auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
    };
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    bytes += "RIFF";
    put(36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    put(16, 4);              // the format chunk's size
    put(1, 2);               // PCM
    put(1, 2);               // mono
    put(kSoundRate, 4);      // frames per second
    put(kSoundRate * 2, 4);  // bytes per second
    put(2, 2);               // bytes per frame
    put(16, 2);              // bits per sample
    bytes += "data";
    put(dataBytes, 4);
    for (double s : samples) {
        const long value = std::lround(std::clamp(s, -1.0, 1.0) * 32767.0);
        put(static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xffffu, 2);
    }
    return bytes;
}

void WriteWav(const Samples& samples, const std::string& path) {
    WriteFileAtomically(path, WavBytes(samples));
}

}  // namespace AssetGenerator
