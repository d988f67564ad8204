#include "prng.h"

namespace AssetGenerator {

Prng::Prng(std::uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}

std::uint32_t Prng::Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

double Prng::Uniform() { return static_cast<double>(Next()) / 4294967296.0; }

double Prng::Range(double low, double high) { return low + (high - low) * Uniform(); }

int Prng::Int(int low, int high) {
    if (high <= low) return low;
    const std::uint32_t span = static_cast<std::uint32_t>(high - low) + 1u;
    return low + static_cast<int>(Next() % span);
}

}  // namespace AssetGenerator
