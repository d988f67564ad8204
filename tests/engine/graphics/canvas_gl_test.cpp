// The off-screen canvas: completeness, binding and viewports, and clearing only what is bound.
#include "engine/graphics/drawing_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace {

using TestSupport::ReadPixel;
using TestSupport::Rgba;

GLint Get(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

std::array<GLint, 4> Viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

using CanvasTest = GraphicsTesting::DrawingTest;

TEST_F(CanvasTest, IsCompleteAndBindsWithItsOwnViewport) {
    std::unique_ptr<Engine::Canvas> other(Engine::Canvas::Create(320, 200));
    EXPECT_EQ(other->GetSize(), Engine::Point(320, 200));
    EXPECT_EQ(Get(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(Get(GL_TEXTURE_BINDING_2D), static_cast<GLint>(other->GetTexture()));
    other->Bind();
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(Viewport(), (std::array<GLint, 4>{0, 0, 320, 200}));
}

TEST_F(CanvasTest, IncompleteFramebufferIsReported) {
    try {
        Engine::Canvas empty(0, 0);
        ADD_FAILURE() << "a canvas without pixels was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Failed to create a framebuffer!");
    }
}

TEST_F(CanvasTest, ClearOnTheCanvasLeavesTheWindowUntouched) {
    graphics->BindCanvas(nullptr);
    graphics->Clear(Engine::Color(1, 0, 0, 1));
    ASSERT_EQ(ReadPixel(5, 5), (Rgba{255, 0, 0, 255}));
    graphics->BindCanvas(canvas.get());
    graphics->Clear(Engine::Color(0, 0, 1, 1));
    EXPECT_EQ(ReadPixel(5, 5), (Rgba{0, 0, 255, 255}));
    graphics->BindCanvas(nullptr);
    EXPECT_EQ(ReadPixel(5, 5), (Rgba{255, 0, 0, 255}));
}

TEST_F(CanvasTest, BindingNullRestoresTheCurrentWindowViewport) {
    for (const std::array<GLint, 4> window :
         {std::array<GLint, 4>{0, 0, 640, 480}, {0, 0, 1024, 768}, {0, 0, 123, 77}}) {
        graphics->windowWidth = window[2];
        graphics->windowHeight = window[3];
        graphics->BindCanvas(canvas.get());
        EXPECT_EQ(Viewport(), (std::array<GLint, 4>{0, 0, kSize, kSize}));
        graphics->BindCanvas(nullptr);
        EXPECT_EQ(Get(GL_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(Viewport(), window);
    }
}

}  // namespace
