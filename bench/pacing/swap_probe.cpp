// Frame-pacing probe for the real program, loaded with LD_PRELOAD: it stands in for
// glfwSwapBuffers, notes the monotonic clock and the calling thread's CPU time (the main thread's:
// only it swaps) at every swap, passes the call on, and at exit writes one line per swap,
// "monotonic_ns thread_cpu_ns", to the file named by STAGEWALK_SWAP_LOG. Adds no I/O to a frame.
#include <GLFW/glfw3.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr int kMaxSwaps = 1 << 17;  // over half an hour at 60 frames a second

struct Swap {
    long long monotonic;
    long long threadCpu;
};
Swap swaps[kMaxSwaps];
int swapCount = 0;

long long Read(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

__attribute__((destructor)) void WriteLog() {
    const char* path = std::getenv("STAGEWALK_SWAP_LOG");
    if (path == nullptr) return;
    FILE* file = std::fopen(path, "w");
    if (file == nullptr) return;
    for (int i = 0; i < swapCount; ++i)
        std::fprintf(file, "%lld %lld\n", swaps[i].monotonic, swaps[i].threadCpu);
    std::fclose(file);
}

}  // namespace

void glfwSwapBuffers(GLFWwindow* window) {
    if (swapCount < kMaxSwaps) swaps[swapCount++] = {Read(CLOCK_MONOTONIC), Read(CLOCK_THREAD_CPUTIME_ID)};
    using Real = void (*)(GLFWwindow*);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    real(window);
}
