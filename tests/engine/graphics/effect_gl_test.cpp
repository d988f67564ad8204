// Effect and transform uniforms as the program holds them, and what the shipped shaders make of
// them on screen: tint, texturing, lighting from the normals, fog by distance, palette limiter.
#include "engine/graphics/drawing_fixture.h"
#include "engine/graphics/mesh.h"

#include <gtest/gtest.h>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <array>

namespace {

using GraphicsTesting::Near;
using TestSupport::Rgba;

class EffectTest : public GraphicsTesting::DrawingTest {
protected:
    template <size_t N>
    std::array<float, N> Floats(const char* name) {
        std::array<float, N> value{};
        glGetUniformfv(program->GetId(), glGetUniformLocation(program->GetId(), name), value.data());
        return value;
    }
    float Float(const char* name) { return Floats<1>(name)[0]; }
    int Int(const char* name) {
        GLint value = -1;
        glGetUniformiv(program->GetId(), glGetUniformLocation(program->GetId(), name), &value);
        return value;
    }
};

TEST_F(EffectTest, SettersWriteTheirUniforms) {
    graphics->effect.SetFog(Engine::Color(0.1f, 0.2f, 0.3f, 0.4f), 0.3f, 0.9f);
    EXPECT_FLOAT_EQ(Float("fogMax"), 0.9f);
    EXPECT_FLOAT_EQ(Float("fogMin"), 0.3f);
    EXPECT_EQ(Int("fogEnabled"), 1);
    EXPECT_EQ(Floats<4>("fogColor"), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));
    graphics->effect.DisableFog();
    EXPECT_EQ(Int("fogEnabled"), 0);
    EXPECT_FLOAT_EQ(Float("fogMax"), 0.9f);
    EXPECT_EQ(Floats<4>("fogColor"), (std::array<float, 4>{0.1f, 0.2f, 0.3f, 0.4f}));

    graphics->effect.SetTintColor(0.5f, 0.25f, 0.125f, 0.75f);
    EXPECT_EQ(Floats<4>("tintColor"), (std::array<float, 4>{0.5f, 0.25f, 0.125f, 0.75f}));
    graphics->effect.SetLightEnabled(true);
    EXPECT_EQ(Int("lightEnabled"), 1);
    EXPECT_TRUE(graphics->effect.SetTexturesEnabled(false));
    EXPECT_EQ(Int("texturesEnabled"), 0);

    graphics->effect.SetDefaults();
    EXPECT_EQ(Floats<4>("tintColor"), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_EQ(Floats<4>("fogColor"), (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_FLOAT_EQ(Float("fogMax"), 1.0f);
    EXPECT_FLOAT_EQ(Float("fogMin"), 0.5f);
    EXPECT_EQ(Int("fogEnabled") + Int("lightEnabled"), 0);
    EXPECT_EQ(Int("texturesEnabled"), 1);
    EXPECT_FLOAT_EQ(Float("paletteLimiter"), 255.0f);         // never written: still the fixture's value
    EXPECT_FALSE(graphics->effect.SetTexturesEnabled(true));  // the shadow kept the last switch
}

TEST_F(EffectTest, TransformUploadsOnlyOnApply) {
    Engine::Transform& t = graphics->transform;
    t.Translate(1, 2, 3);
    t.LookAt(glm::vec3(0, 1, 5), glm::vec3(0, 1, 0), glm::vec3(0, 1, 0));
    t.Projection(75, Engine::Point(320, 200), 0.1f, 200);
    EXPECT_EQ(glm::make_mat4(Floats<16>("model").data()), glm::mat4(1.0f));
    t.Apply();
    EXPECT_EQ(glm::make_mat4(Floats<16>("model").data()), t.GetModel());
    EXPECT_EQ(glm::make_mat4(Floats<16>("view").data()), t.GetView());
    EXPECT_EQ(glm::make_mat4(Floats<16>("projection").data()), t.GetProjection());
}

TEST_F(EffectTest, TintMultipliesTheTextureAndReplacesItWithoutTexturing) {
    auto texture = GraphicsTesting::SolidTexture(16, 16, Rgba{200, 100, 50, 255});
    struct Case {
        bool textures;
        float r, g, b, a;
        Rgba expected;
    };
    for (const Case& c :
         {Case{true, 1, 1, 1, 1, {200, 100, 50, 255}}, Case{true, 0.5f, 1, 0, 1, {100, 100, 0, 255}},
          Case{false, 0.5f, 1, 0, 1, {128, 255, 0, 255}}, Case{false, 1, 1, 1, 0.5f, {128, 128, 128, 191}}}) {
        graphics->Clear(Engine::Color(0, 0, 0, 1));
        graphics->effect.SetTexturesEnabled(c.textures);
        graphics->effect.SetTintColor(c.r, c.g, c.b, c.a);
        graphics->DrawSprite(texture.get(), 0, 0, 1, 1);
        EXPECT_TRUE(Near(At(8, 8), c.expected, 2)) << c.textures << " " << c.r << "," << c.g << "," << c.a;
    }
}

// The centre of a 16 x 16 quad whose vertices carry `normal`, rotated by `angle` about z.
Rgba LitQuad(Engine::Graphics& graphics, glm::vec3 normal, float angle) {
    std::vector<float> normals;
    for (int i = 0; i < 4; ++i) normals.insert(normals.end(), {normal.x, normal.y, normal.z});
    Engine::Mesh quad({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 2, 3, 0}, {0, 0, 1, 0, 1, 1, 0, 1},
                      normals);
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
    EXPECT_EQ(LitQuad(*graphics, {0, 1, 0}, 0), (Rgba{255, 255, 255, 255}));
    graphics->effect.SetLightEnabled(true);
    const Rgba up = LitQuad(*graphics, {0, 1, 0}, 0);
    const Rgba down = LitQuad(*graphics, {0, -1, 0}, 0);
    EXPECT_LT(up.g, 255);
    EXPECT_GT(up.g, down.g + 60);  // facing the light is clearly brighter
    EXPECT_GT(down.g, 40);         // ambient keeps the shadowed side visible
    EXPECT_TRUE(Near(LitQuad(*graphics, {0, 1, 0}, glm::pi<float>()), down, 2)) << "normals follow the model";
}

TEST_F(EffectTest, FogFadesLinearlyWithEyeDistance) {
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetFog(Engine::Color(0, 0, 0, 1), 7.5f, 50.0f);
    graphics->transform.Projection(75.0f, Engine::Point(kSize, kSize), 0.1f, 200.0f);
    auto white = GraphicsTesting::SolidTexture(1, 1, Rgba{255, 255, 255, 255});
    // A wall filling the view at depth d; the centre pixel's eye distance is d (interpolating
    // per-vertex distances would give the corners' sqrt(3) d instead).
    for (const std::pair<float, int>& c : {std::pair<float, int>{5.0f, 255}, {28.75f, 128}, {60.0f, 0}}) {
        graphics->Clear(Engine::Color(1, 0, 0, 1));
        graphics->transform.PushMatrix();
        graphics->transform.Translate(-c.first, -c.first, -c.first);
        graphics->transform.Scale(2 * c.first, 2 * c.first, 1);
        graphics->DrawSprite(white.get(), 0, 0, 1, 1);
        graphics->transform.PopMatrix();
        const Rgba centre = TestSupport::ReadPixel(kSize / 2, kSize / 2);
        EXPECT_NEAR(centre.g, c.second, 4) << "depth " << c.first;
        EXPECT_EQ(centre.g, centre.r) << "fog fades towards its own colour";
    }
}

TEST_F(EffectTest, PaletteLimiterQuantisesEveryChannel) {
    glUniform1f(graphics->effect.GetPaletteLimiterLocation(), 4.0f);
    graphics->effect.SetTexturesEnabled(false);
    graphics->effect.SetTintColor(0.3f, 0.6f, 0.9f, 1.0f);
    graphics->DrawTriangle(0, 0, 10, 0, 0, 10);
    EXPECT_TRUE(Near(At(2, 2), Rgba{64, 128, 255, 255}));  // 0.25, 0.5, 1.0
}

}  // namespace
