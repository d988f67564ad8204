// The process entry: runs the one application and turns an error into exit status 255, a file that
// was not saved into 1, and a command line the program does not take into its reason and the usage
// on standard error, status 2.
#include "application/app_base.h"
#include "application/command_line.h"

#include <iostream>
#include <stdexcept>

int main(int argc, char** argv) {
    // Value-initialised, never deleted: the process ends right after Run returns. Held by a static
    // so that it and everything it keeps stay reachable to the very end (no leak for leak checkers).
    static Application::AppBase* application = new Application::AppBase();
    try {
        application->Run(argc, argv);
        return application->ExitStatus();
    } catch (const Application::UsageError& error) {
        std::cerr << "stagewalk: " << error.what() << '\n' << Application::UsageLine() << std::endl;
        return 2;
    } catch (const std::runtime_error& error) {
        std::cout << error.what() << std::endl;
        return -1;
    }
}
