// Test tool for the end-to-end scripts: listens to a WAV file the program's audio device wrote.
//   wavprobe rate FILE               print the file's frames per second
//   wavprobe onsets FILE SOUND [MIN [SECONDS]]
//                                    print "FRAME SCORE" for every place where SOUND starts in FILE,
//                                    found by normalised cross-correlation of its first SECONDS
//                                    (default a quarter; SCORE 1 is SOUND alone, as made); MIN is the
//                                    least score counted (default 0.6). SOUND must be at FILE's rate.
//                                    A shorter opening keeps a quiet sound's start clear of a loud
//                                    one played soon after it.
// Both files are mixed down to mono. Exit status 2 when a file cannot be read.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Audio {
    int rate = 0;
    std::vector<float> mono;
};

bool Read(const char* path, Audio& audio) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "wavprobe: %s: %s\n", path, sf_strerror(nullptr));
        return false;
    }
    audio.rate = info.samplerate;
    std::vector<float> frame(static_cast<size_t>(info.channels));
    // A file whose writer never closed it says it is endless: read until the data ends.
    while (sf_readf_float(file, frame.data(), 1) == 1) {
        float sum = 0.0f;
        for (float s : frame) sum += s;
        audio.mono.push_back(sum / static_cast<float>(info.channels));
    }
    sf_close(file);
    return true;
}

// In-place radix-2 transform of a power-of-two length; `inverse` leaves out the 1/n.
void Transform(std::vector<std::complex<double>>& a, bool inverse) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const double angle = 2.0 * M_PI / static_cast<double>(length) * (inverse ? 1.0 : -1.0);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += length) {
            std::complex<double> w(1.0, 0.0);
            for (size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> u = a[i + k];
                const std::complex<double> v = a[i + k + length / 2] * w;
                a[i + k] = u + v;
                a[i + k + length / 2] = u - v;
                w *= step;
            }
        }
    }
}

// dot[t] = sum over i of x[t + i] * h[i], for every t, through the transform.
std::vector<double> Correlate(const std::vector<float>& x, const std::vector<float>& h) {
    size_t size = 1;
    while (size < x.size() + h.size()) size <<= 1;
    std::vector<std::complex<double>> a(size), b(size);
    for (size_t i = 0; i < x.size(); ++i) a[i] = x[i];
    for (size_t i = 0; i < h.size(); ++i) b[i] = h[i];
    Transform(a, false);
    Transform(b, false);
    for (size_t i = 0; i < size; ++i) a[i] *= std::conj(b[i]);
    Transform(a, true);
    std::vector<double> dot(x.size());
    for (size_t t = 0; t < x.size(); ++t) dot[t] = a[t].real() / static_cast<double>(size);
    return dot;
}

int Onsets(const Audio& recording, const Audio& sound, double least, double seconds) {
    if (sound.rate != recording.rate) {
        std::fprintf(stderr, "wavprobe: the sound is at %d Hz, the recording at %d Hz\n", sound.rate,
                     recording.rate);
        return 2;
    }
    const size_t n = std::min(sound.mono.size(), static_cast<size_t>(sound.rate * seconds));
    const std::vector<float>& x = recording.mono;
    if (n == 0 || x.size() < n) return 0;
    const std::vector<float> h(sound.mono.begin(), sound.mono.begin() + static_cast<long>(n));
    double templateEnergy = 0.0;
    for (float v : h) templateEnergy += double(v) * v;
    const double templateNorm = std::sqrt(templateEnergy);
    const std::vector<double> dot = Correlate(x, h);
    std::vector<double> score(x.size() - n + 1, 0.0);
    double window = 0.0;
    for (size_t i = 0; i < n; ++i) window += double(x[i]) * x[i];
    for (size_t t = 0; t + n <= x.size(); ++t) {
        if (t > 0) window += double(x[t + n - 1]) * x[t + n - 1] - double(x[t - 1]) * x[t - 1];
        if (window > 1e-9) score[t] = dot[t] / (templateNorm * std::sqrt(window));
    }
    // Peaks: the best score of each stretch above the least, at least half the template apart.
    for (size_t t = 0; t < score.size(); ++t) {
        if (score[t] < least) continue;
        size_t best = t;
        size_t end = t;
        while (end < score.size() && (score[end] >= least || end < best + n / 2)) {
            if (score[end] > score[best]) best = end;
            ++end;
        }
        std::printf("%zu %.3f\n", best, score[best]);
        t = end;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "rate") == 0) {
        Audio audio;
        if (!Read(argv[2], audio)) return 2;
        std::printf("%d\n", audio.rate);
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "onsets") == 0) {
        Audio recording;
        Audio sound;
        if (!Read(argv[2], recording) || !Read(argv[3], sound)) return 2;
        const double seconds = argc >= 6 ? std::atof(argv[5]) : 0.25;
        if (!(seconds > 0.0)) {
            std::fprintf(stderr, "wavprobe: the opening must be longer than 0 seconds\n");
            return 2;
        }
        return Onsets(recording, sound, argc >= 5 ? std::atof(argv[4]) : 0.6, seconds);
    }
    std::fprintf(stderr, "usage: wavprobe rate FILE | wavprobe onsets FILE SOUND [MIN [SECONDS]]\n");
    return 2;
}
