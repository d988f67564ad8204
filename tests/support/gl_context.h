// Test support: a hidden GLFW window with a current OpenGL context and GLEW initialised, for GL
// tests that render into framebuffers and read pixels back. One per test process; main thread.
#pragma once

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace TestSupport {

// Opens the context on first use (hidden 640 x 480 window) and keeps it for the process.
// Fails the calling test (fatally) when no display is available.
GLFWwindow* EnsureGLContext();

// Fixture base: every test starts with a current context and no pending GL error.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    GLFWwindow* window = nullptr;
};

// RGBA bytes of one pixel of the bound read framebuffer; y counts from the bottom, as in OpenGL.
struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};
Rgba ReadPixel(int x, int y);
// The whole w x h area from (0, 0), rows bottom-up.
std::vector<Rgba> ReadPixels(int width, int height);
// Prints as "(r, g, b, a)" in test failures.
void PrintTo(const Rgba& pixel, std::ostream* os);

}  // namespace TestSupport
