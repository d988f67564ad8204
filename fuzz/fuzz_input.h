// Shared by the fuzz targets: the size cap every target applies to its input, and the check that
// turns a broken invariant into a crash libFuzzer keeps. Header only; each target is single-threaded.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace Fuzz {

// Inputs larger than this are skipped: large files only repeat what small ones already reach,
// and every target is linear in its input, so the cap keeps executions fast.
inline constexpr std::size_t kMaxInput = 256 * 1024;

// Aborts with `what` when `condition` is false, so the fuzzer records the input as a crash.
inline void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz invariant broken: %s\n", what);
    std::abort();
}

}  // namespace Fuzz
