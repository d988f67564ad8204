// A tiny deterministic pseudo-random generator (xorshift32) for the asset generator: every run with
// the same seed yields the same sequence, so the generated files are byte-for-byte reproducible.
// Owned by whichever generator step needs it; not shared between threads.
#pragma once

#include <cstdint>

namespace AssetGenerator {

class Prng {
public:
    explicit Prng(std::uint32_t seed);  // a zero seed is replaced by a fixed non-zero one

    std::uint32_t Next();                   // next raw 32-bit value
    double Uniform();                       // in [0, 1)
    double Range(double low, double high);  // in [low, high)
    int Int(int low, int high);             // in [low, high], both inclusive; low when high < low

private:
    std::uint32_t state;
};

}  // namespace AssetGenerator
