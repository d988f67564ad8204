#include "png/photo_png.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

namespace Bench {

namespace {

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

// Smoothly interpolated random values on an integer lattice, in [0, 1].
double ValueNoise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const auto ix = static_cast<uint32_t>(static_cast<int64_t>(fx));
    const auto iy = static_cast<uint32_t>(static_cast<int64_t>(fy));
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto at = [&](uint32_t dx, uint32_t dy) { return (Hash(ix + dx, iy + dy, seed) & 0xFFFF) / 65535.0; };
    const double top = at(0, 0) + (at(1, 0) - at(0, 0)) * tx;
    const double bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * tx;
    return top + (bottom - top) * ty;
}

// Octaves of value noise from `scale` pixels per lattice cell down, each half as strong.
double Octaves(double x, double y, double scale, int count, uint32_t seed) {
    double sum = 0;
    double amplitude = 1;
    for (int octave = 0; octave < count; ++octave, scale /= 2, amplitude /= 2) {
        sum += amplitude * (ValueNoise(x / scale, y / scale, seed + octave) - 0.5);
    }
    return sum;
}

unsigned char Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    return static_cast<unsigned char>(pa <= pb && pa <= pc ? a : (pb <= pc ? b : c));
}

// The row filtered with each of the five filters in turn; the one whose bytes, read as signed,
// add up to the least absolute sum is appended to `out`.
void FilterRow(const unsigned char* row, const unsigned char* above, std::size_t bytes,
               std::vector<unsigned char>& out) {
    std::vector<unsigned char> best;
    std::vector<unsigned char> candidate(bytes + 1);
    long bestSum = -1;
    for (unsigned char filter = 0; filter < 5; ++filter) {
        candidate[0] = filter;
        long sum = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            const int a = i >= 3 ? row[i - 3] : 0;
            const int b = above ? above[i] : 0;
            const int c = above && i >= 3 ? above[i - 3] : 0;
            const int predicted = filter == 0   ? 0
                                  : filter == 1 ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                                : Paeth(a, b, c);
            const auto value = static_cast<unsigned char>(row[i] - predicted);
            candidate[i + 1] = value;
            sum += value < 128 ? value : 256 - value;
        }
        if (bestSum < 0 || sum < bestSum) {
            bestSum = sum;
            best = candidate;
        }
    }
    out.insert(out.end(), best.begin(), best.end());
}

void Chunk(std::ofstream& file, const char* type, const unsigned char* data, std::size_t size) {
    const std::array<unsigned char, 4> length = {
        static_cast<unsigned char>(size >> 24), static_cast<unsigned char>(size >> 16),
        static_cast<unsigned char>(size >> 8), static_cast<unsigned char>(size)};
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
    // zlib takes a null buffer as a request for the initial value: IEND has no data to add.
    if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
    const std::array<unsigned char, 4> check = {
        static_cast<unsigned char>(crc >> 24), static_cast<unsigned char>(crc >> 16),
        static_cast<unsigned char>(crc >> 8), static_cast<unsigned char>(crc)};
    file.write(reinterpret_cast<const char*>(length.data()), 4);
    file.write(type, 4);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    file.write(reinterpret_cast<const char*>(check.data()), 4);
}

}  // namespace

bool WritePhotoPng(const std::string& path, int width, int height, PhotoPngSizes& sizes, bool noisy) {
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> previous;
    std::vector<unsigned char> row(rowBytes);
    std::vector<unsigned char> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(height));
    uint32_t grain = 12345;
    auto next = [&grain] {
        grain ^= grain << 13;
        grain ^= grain >> 17;
        grain ^= grain << 5;
        return grain;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            // Light and shapes over large scales, texture over small ones, colour casts slowly.
            const double light = 128 + 150 * Octaves(x, y, 1024, 4, 1) + 40 * Octaves(x, y, 16, 3, 9);
            for (int channel = 0; channel < 3; ++channel) {
                double value = 0;
                if (noisy) {
                    // Fractal colour clouds per channel under strong bell-shaped noise (a sum of
                    // four uniform values: integer arithmetic, the same on every machine).
                    const uint32_t r = next();
                    const int noise =
                        static_cast<int>((r & 15) + (r >> 4 & 15) + (r >> 8 & 15) + (r >> 12 & 15)) - 30;
                    value = 128 + 170 * Octaves(x, y, 1024, 7, 40 + channel) + noise;
                } else {
                    const uint32_t r = next();
                    const double noise = static_cast<int>(r % 7) + static_cast<int>((r >> 8) % 7) - 6;
                    value = light + 60 * Octaves(x, y, 512, 2, 20 + channel) + noise;
                }
                row[static_cast<std::size_t>(x) * 3 + channel] =
                    static_cast<unsigned char>(std::clamp(std::lround(value), 0L, 255L));
            }
        }
        FilterRow(row.data(), previous.empty() ? nullptr : previous.data(), rowBytes, raw);
        previous = row;
    }
    // The noisy image as ImageMagick writes a noisy photograph: level 7, the largest blocks
    // (memory level 9) and the filtered strategy, which keeps only matches longer than five bytes:
    // on noise that leaves almost only literals.
    z_stream z{};
    const int level = noisy ? 7 : Z_DEFAULT_COMPRESSION;
    if (deflateInit2(&z, level, Z_DEFLATED, 15, noisy ? 9 : 8, noisy ? Z_FILTERED : Z_DEFAULT_STRATEGY) !=
        Z_OK)
        return false;
    std::vector<unsigned char> compressed(deflateBound(&z, raw.size()));
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = compressed.data();
    z.avail_out = static_cast<uInt>(compressed.size());
    const bool deflated = deflate(&z, Z_FINISH) == Z_STREAM_END;
    const std::size_t compressedSize = z.total_out;
    deflateEnd(&z);
    if (!deflated) return false;
    sizes.rawBytes = raw.size();
    sizes.compressedBytes = compressedSize;
    std::ofstream file(path, std::ios::binary);
    file.write("\x89PNG\r\n\x1a\n", 8);
    const std::array<unsigned char, 13> header = {static_cast<unsigned char>(width >> 24),
                                                  static_cast<unsigned char>(width >> 16),
                                                  static_cast<unsigned char>(width >> 8),
                                                  static_cast<unsigned char>(width),
                                                  static_cast<unsigned char>(height >> 24),
                                                  static_cast<unsigned char>(height >> 16),
                                                  static_cast<unsigned char>(height >> 8),
                                                  static_cast<unsigned char>(height),
                                                  8,
                                                  2,
                                                  0,
                                                  0,
                                                  0};
    Chunk(file, "IHDR", header.data(), header.size());
    const std::size_t chunkBytes = noisy ? 32768 : 8192;  // as ImageMagick and libpng write them
    for (std::size_t at = 0; at < compressedSize; at += chunkBytes) {
        Chunk(file, "IDAT", compressed.data() + at, std::min<std::size_t>(chunkBytes, compressedSize - at));
    }
    Chunk(file, "IEND", nullptr, 0);
    return static_cast<bool>(file);
}

}  // namespace Bench
