// One image load in a process of its own, for the PNG loading benchmark (scripts/bench_png.py):
// the peak memory of the process (VmHWM, the high-water mark of its resident size since exec) is
// that of the load it made. Prints one JSON line.
//   stagewalk_png_load generate PATH WIDTH HEIGHT   writes the benchmark's photograph-like PNG
//   stagewalk_png_load generate-noisy PATH WIDTH HEIGHT   the noisy one
//   stagewalk_png_load soil|load|check|none PATH    SOIL alone, LoadBitmap, the check alone, nothing
#include "engine/assets/raw_bitmap.h"
#include "imagecheck/image_check.h"
#include "png/photo_png.h"

#include <SOIL/SOIL.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

// The process's peak resident size in KiB since exec. ru_maxrss would also count the parent's
// size at fork, which Linux carries over exec.
long PeakKib() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    char line[256];
    long kib = -1;
    while (status && std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %ld", &kib) == 1) break;
    }
    if (status) std::fclose(status);
    return kib;
}

double Clock(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: %s generate|generate-noisy PATH WIDTH HEIGHT | soil|load|check|none PATH\n",
                     argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    const std::string path = argv[2];
    if ((mode == "generate" || mode == "generate-noisy") && argc == 5) {
        Bench::PhotoPngSizes sizes;
        if (!Bench::WritePhotoPng(path, std::atoi(argv[3]), std::atoi(argv[4]), sizes,
                                  mode == "generate-noisy"))
            return 1;
        std::printf("{\"raw_bytes\": %llu, \"compressed_bytes\": %llu}\n",
                    static_cast<unsigned long long>(sizes.rawBytes),
                    static_cast<unsigned long long>(sizes.compressedBytes));
        return 0;
    }
    const double cpu = Clock(CLOCK_PROCESS_CPUTIME_ID);
    const double wall = Clock(CLOCK_MONOTONIC);
    bool loaded = true;
    if (mode == "soil") {
        int width = 0;
        int height = 0;
        int channels = 0;
        unsigned char* pixels = SOIL_load_image(path.c_str(), &width, &height, &channels, SOIL_LOAD_RGBA);
        loaded = pixels != nullptr;
        SOIL_free_image_data(pixels);
    } else if (mode == "load") {
        try {
            std::unique_ptr<Engine::RawBitmap> bitmap(Engine::LoadBitmap(path));
        } catch (const std::runtime_error&) {
            loaded = false;
        }
    } else if (mode == "check") {
        ImageCheck::ImageBytes bytes(path);
        loaded = ImageCheck::ImageAcceptable(bytes);
    } else if (mode != "none") {
        return 2;
    }
    const double cpuSeconds = Clock(CLOCK_PROCESS_CPUTIME_ID) - cpu;
    const double wallSeconds = Clock(CLOCK_MONOTONIC) - wall;
    std::printf("{\"cpu_s\": %.6f, \"wall_s\": %.6f, \"peak_kib\": %ld}\n", cpuSeconds, wallSeconds,
                PeakKib());
    return loaded ? 0 : 1;
}
