// Effect uniforms as the program holds them after each setter, and what the shipped shaders make
// of them on screen: tint, texturing, lighting from the normals, fog by distance, palette limiter.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/mesh.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <glm/gtc/constants.hpp>

#include <array>
#include <string>

namespace {

using GraphicsTesting::DrawingTest;
using GraphicsTesting::Near;
using TestSupport::Rgba;

class EffectTest : public DrawingTest {
protected:
    GLint Location(const char* name) { return glGetUniformLocation(program->GetId(), name); }
    float Float(const char* name) {
        float value = -1.0f;
        glGetUniformfv(program->GetId(), Location(name), &value);
        return value;
    }
    int Int(const char* name) {
        GLint value = -1;
        glGetUniformiv(program->GetId(), Location(name), &value);
        return value;
    }
    std::array<float, 4> Vec4(const char* name) {
        std::array<float, 4> value{};
        glGetUniformfv(program->GetId(), Location(name), value.data());
        return value;
    }
};

TEST_F(EffectTest, FogTakesTheMinimumBeforeTheMaximum) {
    graphics->effect.SetFog(Engine::Color(0.1f, 0.2f, 0.3f, 0.4f), 0.3f, 0.9f);
    EXPECT_FLOAT_EQ(Float("fogMax"), 0.9f);
    EXPECT_FLOAT_EQ(Float("fogMin"), 0.3f);
    EXPECT_EQ(Int("fogEnabled"), 1);
    EXPECT_EQ(Vec4("fogColor"), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));

    graphics->effect.DisableFog();
    EXPECT_EQ(Int("fogEnabled"), 0);
    EXPECT_FLOAT_EQ(Float("fogMax"), 0.9f);
    EXPECT_FLOAT_EQ(Float("fogMin"), 0.3f);
    EXPECT_EQ(Vec4("fogColor"), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
}

TEST_F(EffectTest, DefaultsAreWrittenExceptThePaletteLimiter) {
    graphics->effect.SetTintColor(0.5f, 0.25f, 0.125f, 0.75f);
    graphics->effect.SetFog(Engine::Color(0, 0, 0, 1), 7.5f, 50.0f);
    graphics->effect.SetLightEnabled(true);
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetDefaults();
    EXPECT_EQ(Vec4("tintColor"), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(Vec4("fogColor"), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_FLOAT_EQ(Float("fogMax"), 1.0f);
    EXPECT_FLOAT_EQ(Float("fogMin"), 0.5f);
    EXPECT_EQ(Int("fogEnabled"), 0);
    EXPECT_EQ(Int("texturesEnabled"), 1);
    EXPECT_EQ(Int("lightEnabled"), 0);
    EXPECT_FLOAT_EQ(Float("paletteLimiter"), 255.0f);  // as the fixture set it
    // The shadow still holds the last value written through SetTexturesEnabled.
    EXPECT_FALSE(graphics->effect.SetTexturesEnabled(true));
}

TEST_F(EffectTest, SettersWriteTheirUniform) {
    graphics->effect.SetTintColor(0.5f, 0.25f, 0.125f, 0.75f);
    EXPECT_EQ(Vec4("tintColor"), (std::array<float, 4>{0.5f, 0.25f, 0.125f, 0.75f}));
    graphics->effect.SetLightEnabled(true);
    EXPECT_EQ(Int("lightEnabled"), 1);
    graphics->effect.SetLightEnabled(false);
    EXPECT_EQ(Int("lightEnabled"), 0);
}

TEST_F(EffectTest, TexturesSwitchReturnsThePreviousValue) {
    EXPECT_TRUE(graphics->effect.SetTexturesEnabled(false));
    EXPECT_EQ(Int("texturesEnabled"), 0);
    EXPECT_FALSE(graphics->effect.SetTexturesEnabled(true));
    EXPECT_EQ(Int("texturesEnabled"), 1);
    EXPECT_TRUE(graphics->effect.SetTexturesEnabled(true));
}

TEST_F(EffectTest, TintMultipliesTheTextureAndReplacesItWhenTexturingIsOff) {
    auto texture = GraphicsTesting::SolidTexture(16, 16, Rgba{200, 100, 50, 255});
    struct Case {
        bool textures;
        float r, g, b, a;
        Rgba expected;
    };
    const Case cases[] = {
        {true, 1, 1, 1, 1, {200, 100, 50, 255}},
        {true, 0.5f, 1, 0, 1, {100, 100, 0, 255}},
        {false, 0.5f, 1, 0, 1, {128, 255, 0, 255}},
        {false, 1, 1, 1, 1, {255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        graphics->Clear(Engine::Color(0, 0, 0, 1));
        graphics->effect.SetTexturesEnabled(c.textures);
        graphics->effect.SetTintColor(c.r, c.g, c.b, c.a);
        graphics->DrawSprite(texture.get(), 0, 0, 1, 1);
        EXPECT_TRUE(Near(At(8, 8), c.expected)) << "textures " << c.textures << " tint " << c.r << "," << c.g
                                                  << "," << c.b;
    }
    // Half-transparent tint blends over the background.
    graphics->Clear(Engine::Color(0, 0, 0, 1));
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetTintColor(1, 1, 1, 0.5f);
    graphics->DrawSprite(texture.get(), 0, 0, 1, 1);
    EXPECT_TRUE(Near(At(8, 8), Rgba{128, 128, 128, 191}, 2));
}

// A 16 x 16 quad at (24, 24) whose vertices all carry `normal`, rotated by `angle` about z.
Rgba LitQuad(Engine::Graphics& graphics, glm::vec3 normal, float angle) {
    std::vector<float> normals;
    for (int i = 0; i < 4; ++i) normals.insert(normals.end(), {normal.x, normal.y, normal.z});
    Engine::Mesh quad({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 2, 3, 0}, {0, 0, 1, 0, 1, 1, 0, 1}, normals);
    graphics.Clear(Engine::Color(0, 0, 0, 1));
    graphics.transform.PushMatrix();
    graphics.transform.Translate(32, 32, 0);
    graphics.transform.Rotate(angle, glm::vec3(0, 0, 1));
    graphics.transform.Translate(-8, -8, 0);
    graphics.transform.Scale(16, 16, 1);
    graphics.transform.Apply();
    graphics.DrawMesh(&quad, 0u);
    graphics.transform.PopMatrix();
    return TestSupport::ReadPixel(32, 31);
}

TEST_F(EffectTest, LightingShadesByTheWorldNormal) {
    graphics->effect.SetTexturesEnabled(false);
    const Rgba unlit = LitQuad(*graphics, {0, 1, 0}, 0);
    EXPECT_EQ(unlit, (Rgba{255, 255, 255, 255}));

    graphics->effect.SetLightEnabled(true);
    const Rgba up = LitQuad(*graphics, {0, 1, 0}, 0);
    const Rgba down = LitQuad(*graphics, {0, -1, 0}, 0);
    const Rgba upTurnedDown = LitQuad(*graphics, {0, 1, 0}, glm::pi<float>());
    graphics->effect.SetLightEnabled(false);

    EXPECT_LT(up.g, 255);        // lighting darkens grey geometry below full white
    EXPECT_GT(up.g, down.g + 60);  // a surface facing the light is clearly brighter
    EXPECT_GT(down.g, 40);        // the ambient term keeps the shadowed side visible
    EXPECT_TRUE(Near(upTurnedDown, down, 2)) << "normals follow the model matrix";
}

TEST_F(EffectTest, FogFadesLinearlyWithEyeDistance) {
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetFog(Engine::Color(0, 0, 0, 1), 7.5f, 50.0f);
    graphics->transform.Projection(75.0f, Engine::Point(kSize, kSize), 0.1f, 200.0f);
    struct Case {
        float depth;
        int expected;
    };
    // The probe pixel lies near the axis, so its eye distance is close to the depth.
    for (const Case& c : {Case{5.0f, 255}, Case{28.75f, 128}, Case{60.0f, 0}}) {
        graphics->Clear(Engine::Color(1, 0, 0, 1));
        graphics->transform.PushMatrix();
        graphics->transform.Translate(-c.depth, -c.depth, -c.depth);
        graphics->transform.Scale(2 * c.depth, 2 * c.depth, 1);
        graphics->transform.Apply();
        auto white = GraphicsTesting::SolidTexture(1, 1, Rgba{255, 255, 255, 255});
        graphics->DrawSprite(white.get(), 0, 0, 1, 1);
        graphics->transform.PopMatrix();
        const Rgba centre = TestSupport::ReadPixel(kSize / 2, kSize / 2);
        EXPECT_NEAR(centre.g, c.expected, 4) << "depth " << c.depth;
        EXPECT_EQ(centre.g, centre.r) << "fog mixes towards black, not the background";
    }
    graphics->effect.DisableFog();
}

TEST_F(EffectTest, PaletteLimiterQuantisesEveryChannel) {
    glUniform1f(graphics->effect.GetPaletteLimiterLocation(), 4.0f);
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetTintColor(0.3f, 0.6f, 0.9f, 1.0f);
    auto texture = GraphicsTesting::SolidTexture(8, 8, Rgba{255, 255, 255, 255});
    graphics->DrawSprite(texture.get(), 0, 0, 1, 1);
    // Four levels per channel: 0.3 -> 0.25, 0.6 -> 0.5, 0.9 -> 1.0.
    EXPECT_TRUE(Near(At(2, 2), Rgba{64, 128, 255, 255}));
}

}  // namespace
