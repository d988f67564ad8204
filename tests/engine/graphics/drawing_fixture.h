// Test support for the graphics GL tests: the shipped shader program (loaded once per process),
// a fresh Graphics object drawing into a 64 x 64 canvas under Ortho, and texture builders.
// Header only, since only *_test.cpp files are compiled into the test binaries. Main thread.
#pragma once

#include "engine/assets/raw_bitmap.h"
#include "engine/graphics/canvas.h"
#include "engine/graphics/graphics.h"
#include "engine/graphics/shader_program.h"
#include "engine/graphics/texture.h"
#include "support/gl_context.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace GraphicsTesting {

using TestSupport::Rgba;

inline std::string ShippedShader(const std::string& name) {
    return std::string(STAGEWALK_SOURCE_DIR) + "/game/shaders/" + name;
}

inline Engine::ShaderProgram* ShippedProgram() {
    static Engine::ShaderProgram* program =
        Engine::ShaderProgram::Load(ShippedShader("vertex.glsl"), ShippedShader("fragment.glsl"));
    return program;
}

// Every channel within `tolerance` of the expected value.
inline bool Near(const Rgba& a, const Rgba& e, int tolerance = 1) {
    return std::abs(a.r - e.r) <= tolerance && std::abs(a.g - e.g) <= tolerance &&
           std::abs(a.b - e.b) <= tolerance && std::abs(a.a - e.a) <= tolerance;
}

// A w x h texture made through CreateTexture; texel(x, y) counts rows from the top of the image.
inline std::unique_ptr<Engine::Texture> MakeTexture(int width, int height,
                                                    const std::function<Rgba(int, int)>& texel) {
    auto* raw = new Engine::RawBitmap;
    raw->width = width;
    raw->height = height;
    raw->channels = 4;
    // RawBitmap frees its pixels with SOIL_free_image_data, which is free().
    raw->pixels = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width * height * 4)));
    for (int i = 0; i < width * height; ++i) {
        const Rgba c = texel(i % width, i / width);
        const unsigned char bytes[4] = {c.r, c.g, c.b, c.a};
        std::copy(bytes, bytes + 4, raw->pixels + i * 4);
    }
    return std::unique_ptr<Engine::Texture>(Engine::CreateTexture(raw));
}

inline std::unique_ptr<Engine::Texture> SolidTexture(int width, int height, Rgba color) {
    return MakeTexture(width, height, [color](int, int) { return color; });
}

class DrawingTest : public TestSupport::GLTest {
protected:
    static constexpr int kSize = 64;

    void SetUp() override {
        GLTest::SetUp();
        if (HasFatalFailure()) return;
        program = ShippedProgram();
        program->Use();
        graphics = std::make_unique<Engine::Graphics>();
        graphics->transform.Init(program);
        graphics->effect.Init(program);
        graphics->effect.SetDefaults();
        graphics->effect.SetTexturesEnabled(true);
        // 255 levels per channel make the limiter exact, so colours can be compared closely.
        glUniform1f(graphics->effect.GetPaletteLimiterLocation(), 255.0f);
        graphics->windowWidth = 640;
        graphics->windowHeight = 480;
        canvas = std::make_unique<Engine::Canvas>(kSize, kSize);
        graphics->BindCanvas(canvas.get());
        graphics->Clear(Engine::Color(0, 0, 0, 0));
        graphics->transform.Ortho(kSize, kSize);
        graphics->transform.Apply();
        graphics->SetLinearFilter(false);
    }

    void TearDown() override {
        if (graphics) graphics->BindCanvas(nullptr);
        GLTest::TearDown();
    }

    // The pixel at (x, y) of the bound framebuffer in the top-left origin of Ortho.
    static Rgba At(int x, int y, int height = kSize) { return TestSupport::ReadPixel(x, height - 1 - y); }

    Engine::ShaderProgram* program = nullptr;
    std::unique_ptr<Engine::Graphics> graphics;
    std::unique_ptr<Engine::Canvas> canvas;
};

}  // namespace GraphicsTesting
