// Start-up timing harness: runs the program's own start-up in the game folder given as argument
// (the real AppBase: settings, window, shader, canvas, asset loader), drives frames paced at 1/60 s
// like the program's loop until the first scene frame after loading has been drawn and finished, prints
// CLOCK_MONOTONIC at that moment in nanoseconds and exits. The caller records the same clock just before
// exec; the difference is the start-up from exec to the first scene frame, dynamic loading included.
#include "support/game_harness.h"

#include <GL/glew.h>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <stdexcept>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: stagewalk_startup GAME_FOLDER\n");
        return 2;
    }
    TestSupport::GameHarness game;
    std::cout.setstate(std::ios::failbit);  // the program's own messages are not wanted here
    try {
        game.Start(argv[1]);
        if (!game.RunUntilLoaded(30.0, true)) throw std::runtime_error("loading did not finish");
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    glFinish();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    // Which driver drew it, for the report.
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    std::fprintf(stderr, "renderer: %s\nversion: %s\n", renderer ? renderer : "?", version ? version : "?");
    game.Stop();
    return 0;
}
