// The off-screen canvas and the render switches: binding and viewports, clearing only the bound
// framebuffer, and the state the switches leave behind.
#include "engine/graphics/drawing_fixture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using GraphicsTesting::DrawingTest;
using TestSupport::GLTest;
using TestSupport::ReadPixel;
using TestSupport::Rgba;

GLint Bound(GLenum binding) {
    GLint value = -1;
    glGetIntegerv(binding, &value);
    return value;
}

struct Viewport {
    GLint x = 0, y = 0, width = 0, height = 0;
    bool operator==(const Viewport& o) const {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

Viewport CurrentViewport() {
    GLint v[4] = {};
    glGetIntegerv(GL_VIEWPORT, v);
    return Viewport{v[0], v[1], v[2], v[3]};
}

using CanvasTest = GLTest;

TEST_F(CanvasTest, IsCompleteAndLeavesTheWindowBound) {
    Engine::Canvas canvas(320, 200);
    EXPECT_EQ(canvas.GetSize(), Engine::Point(320, 200));
    EXPECT_NE(canvas.GetTexture(), 0u);
    EXPECT_EQ(Bound(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(Bound(GL_TEXTURE_BINDING_2D), static_cast<GLint>(canvas.GetTexture()));

    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 320);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);

    canvas.Bind();
    EXPECT_NE(Bound(GL_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, 320, 200}));
    GLint depthBits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &depthBits);
    EXPECT_EQ(depthBits, GL_RENDERBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(CanvasTest, FactoryMakesACanvasOfThatSize) {
    Engine::Canvas* canvas = Engine::Canvas::Create(16, 8);
    EXPECT_EQ(canvas->GetSize(), Engine::Point(16, 8));
    delete canvas;
}

TEST_F(CanvasTest, IncompleteFramebufferIsReported) {
    try {
        Engine::Canvas canvas(0, 0);
        ADD_FAILURE() << "a canvas without pixels was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Failed to create a framebuffer!");
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

using RenderStateTest = DrawingTest;

TEST_F(RenderStateTest, ClearOnTheCanvasLeavesTheWindowUntouched) {
    graphics->BindCanvas(nullptr);
    graphics->Clear(Engine::Color(1, 0, 0, 1));
    ASSERT_EQ(ReadPixel(5, 5), (Rgba{255, 0, 0, 255}));

    graphics->BindCanvas(canvas.get());
    graphics->Clear(Engine::Color(0, 0, 1, 1));
    EXPECT_EQ(ReadPixel(5, 5), (Rgba{0, 0, 255, 255}));

    graphics->BindCanvas(nullptr);
    EXPECT_EQ(ReadPixel(5, 5), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(ReadPixel(600, 400), (Rgba{255, 0, 0, 255}));
}

TEST_F(RenderStateTest, ClearResetsDepth) {
    graphics->SetDepthTest(true);
    glClearDepth(0.25);
    graphics->Clear(Engine::Color(0, 0, 0, 1));
    float depth = 0.0f;
    glReadPixels(1, 1, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_FLOAT_EQ(depth, 1.0f);
    graphics->SetDepthTest(false);
}

TEST_F(RenderStateTest, BindingNullRestoresTheCurrentWindowViewport) {
    for (const Viewport size : {Viewport{0, 0, 640, 480}, Viewport{0, 0, 1024, 768}, Viewport{0, 0, 123, 77}}) {
        graphics->windowWidth = size.width;
        graphics->windowHeight = size.height;
        graphics->BindCanvas(canvas.get());
        EXPECT_EQ(CurrentViewport(), (Viewport{0, 0, kSize, kSize}));
        graphics->BindCanvas(nullptr);
        EXPECT_EQ(Bound(GL_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(CurrentViewport(), size);
    }
}

TEST_F(RenderStateTest, SwitchesSetTheirState) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND));  // turned on when the drawing object is made
    EXPECT_EQ(Bound(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(Bound(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
    graphics->SetAlphaBlending(false);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    graphics->SetAlphaBlending(true);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    graphics->SetDepthTest(true);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    graphics->SetDepthTest(false);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    graphics->SetFaceCulling(true);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(Bound(GL_CULL_FACE_MODE), GL_BACK);
    graphics->SetFaceCulling(false);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));

    EXPECT_TRUE(Engine::Graphics().GetLinearFilter());
    graphics->SetLinearFilter(true);
    EXPECT_TRUE(graphics->GetLinearFilter());
}

}  // namespace
