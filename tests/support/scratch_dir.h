// Test support: a fresh temporary directory per test, removed afterwards, with helpers to write
// fixture files into it. Any thread; one instance per test.
#pragma once

#include <string>

namespace TestSupport {

class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path; }
    // Absolute path of `name` inside the directory.
    std::string File(const std::string& name) const;
    // Writes `content` byte for byte to `name` (creating parent folders) and returns its path.
    std::string Write(const std::string& name, const std::string& content) const;

private:
    std::string path;
};

// The whole content of a file, or the empty string when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace TestSupport
