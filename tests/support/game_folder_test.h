// Test support: a GL fixture that runs each test from the shipped game/ folder, where the game
// finds its shaders and data by relative paths, and returns to the previous folder afterwards.
// Main thread only, like every GL test.
#pragma once

#include "gl_context.h"

#include <filesystem>
#include <string>

namespace TestSupport {

class GameFolderGLTest : public GLTest {
protected:
    // A derived SetUp calls this first and returns when HasFatalFailure().
    void SetUp() override {
        GLTest::SetUp();
        if (HasFatalFailure()) return;
        previous = std::filesystem::current_path();
        std::filesystem::current_path(std::string(STAGEWALK_SOURCE_DIR) + "/game");
    }
    void TearDown() override {
        if (!previous.empty()) std::filesystem::current_path(previous);
        GLTest::TearDown();
    }

private:
    std::filesystem::path previous;
};

}  // namespace TestSupport
