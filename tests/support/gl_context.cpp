#include "support/gl_context.h"

#include <cstdio>
#include <ostream>

namespace TestSupport {

namespace {
GLFWwindow* sharedWindow = nullptr;
}

GLFWwindow* EnsureGLContext() {
    // A test that ran a whole application may have shut the window library down in between.
    if (sharedWindow && glfwGetCurrentContext() == sharedWindow) return sharedWindow;
    sharedWindow = nullptr;
    if (!glfwInit()) return nullptr;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    sharedWindow = glfwCreateWindow(640, 480, "gl-test", nullptr, nullptr);
    if (!sharedWindow) return nullptr;
    glfwMakeContextCurrent(sharedWindow);
    if (glewInit() != GLEW_OK) return nullptr;
    while (glGetError() != GL_NO_ERROR) {
    }
    return sharedWindow;
}

void GLTest::SetUp() {
    window = EnsureGLContext();
    ASSERT_NE(window, nullptr) << "no OpenGL context: GL tests need an X display (run under Xvfb)";
    while (glGetError() != GL_NO_ERROR) {
    }
}

void GLTest::TearDown() {
    if (window) {
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

Rgba ReadPixel(int x, int y) {
    Rgba pixel;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &pixel);
    return pixel;
}

std::vector<Rgba> ReadPixels(int width, int height) {
    std::vector<Rgba> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

void PrintTo(const Rgba& pixel, std::ostream* os) {
    *os << "(" << int(pixel.r) << ", " << int(pixel.g) << ", " << int(pixel.b) << ", " << int(pixel.a) << ")";
}

}  // namespace TestSupport
