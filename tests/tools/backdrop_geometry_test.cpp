// The sky box and the backdrop cylinder as the stage draws them: the sky box centred on the camera,
// raised 50 and scaled 120, inside a 200-unit far plane and around the cylinder (radius 100, drawn at
// y = 50 and scaled 100); the cylinder's texture wraps once around and the skyline sits on the horizon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tools/generated_assets.h"

namespace {

using AssetTests::ObjFile;
using AssetTests::Triangle;

constexpr float kSkyScale = 120.0f, kSkyRaise = 50.0f, kFarPlane = 200.0f;
constexpr float kCylinderScale = 100.0f, kCylinderY = 50.0f;
const glm::vec3 kEyeInSkyBox(0.0f, -kSkyRaise / kSkyScale, 0.0f);

glm::vec3 Centroid(const Triangle& t) { return (t.p[0] + t.p[1] + t.p[2]) / 3.0f; }

class SkyBox : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(box.loaded) << box.error;
        ASSERT_EQ(sky.width * sky.height > 0, true);
    }
    ObjFile box = AssetTests::LoadObj(AssetTests::DataFile("skybox.obj"));
    AssetTests::RgbaImage sky = AssetTests::LoadRgba(AssetTests::DataFile("sky.png"));
};

TEST_F(SkyBox, IsAClosedBoxOfSixFaces) { EXPECT_EQ(box.triangles.size(), 12u); }

TEST_F(SkyBox, FacesTheEyeFromEverySide) {
    for (const Triangle& t : box.triangles) EXPECT_GT(glm::dot(t.n[0], kEyeInSkyBox - Centroid(t)), 0.0f);
}

TEST_F(SkyBox, StaysInsideTheFarPlane) {
    for (const Triangle& t : box.triangles)
        for (const glm::vec3& p : t.p) EXPECT_LT(glm::length(p - kEyeInSkyBox) * kSkyScale, kFarPlane - 2.0f);
}

TEST_F(SkyBox, SurroundsTheBackdropCylinder) {
    // Otherwise the cylinder, drawn after the box with depth testing, would vanish behind it.
    for (const Triangle& t : box.triangles)
        if (t.n[0].y == 0.0f) {
            EXPECT_GT(std::abs(glm::dot(t.n[0], t.p[0])) * kSkyScale, kCylinderScale + 2.0f);
        }
}

TEST_F(SkyBox, TextureCoordinatesStayInsideTheImage) {
    for (const Triangle& t : box.triangles)
        for (const glm::vec2& uv : t.uv) {
            EXPECT_GE(std::min(uv.x, uv.y), 0.0f);
            EXPECT_LE(std::max(uv.x, uv.y), 1.0f);
        }
}

TEST_F(SkyBox, EdgesBetweenFacesShowTheSameColoursOnBothSides) {
    int sharedEdges = 0;
    for (const Triangle& t : box.triangles)
        for (const Triangle& o : box.triangles) {
            if (&t == &o || t.n[0] == o.n[0]) continue;
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    const int i2 = (i + 1) % 3, j2 = (j + 1) % 3;
                    if (t.p[i] != o.p[j2] || t.p[i2] != o.p[j])
                        continue;  // neighbours run an edge in opposite directions
                    ++sharedEdges;
                    for (float s = 0.0f; s <= 1.0f; s += 0.0625f) {
                        const glm::vec4 mine = sky.SampleClamped(glm::mix(t.uv[i], t.uv[i2], s));
                        const glm::vec4 theirs = sky.SampleClamped(glm::mix(o.uv[j2], o.uv[j], s));
                        const glm::vec4 diff = glm::abs(mine - theirs);
                        EXPECT_LE(std::max({diff.r, diff.g, diff.b}), 4.0f / 255.0f) << "at s = " << s;
                    }
                }
        }
    EXPECT_EQ(sharedEdges, 24);  // 12 cube edges, seen from both faces
}

TEST_F(SkyBox, HorizonGlowSitsAtEyeLevelOnEverySide) {
    for (const Triangle& t : box.triangles) {
        if (t.n[0].y != 0.0f) continue;
        // v runs linearly with y on a side face; read it off the triangle's highest and lowest corner.
        const auto [low, high] =
            std::minmax_element(t.p, t.p + 3, [](auto& a, auto& b) { return a.y < b.y; });
        const glm::vec2 uvLow = t.uv[low - t.p], uvHigh = t.uv[high - t.p];
        const float u = (t.uv[0].x + t.uv[1].x + t.uv[2].x) / 3.0f;
        auto brightnessAt = [&](float y) {
            const float v = glm::mix(uvLow.y, uvHigh.y, (y - low->y) / (high->y - low->y));
            const glm::vec4 c = sky.SampleClamped({u, v});
            return c.r + c.g + c.b;
        };
        const float horizon = brightnessAt(kEyeInSkyBox.y);
        EXPECT_GT(horizon, brightnessAt(kEyeInSkyBox.y + 0.2f));
        EXPECT_GT(horizon, brightnessAt(kEyeInSkyBox.y - 0.2f));
    }
}

class Cylinder : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(cylinder.loaded) << cylinder.error; }
    ObjFile cylinder = AssetTests::LoadObj(AssetTests::DataFile("cylinder.obj"));
};

TEST_F(Cylinder, IsAnOpenTubeOfRadiusOneSeenFromInside) {
    for (const Triangle& t : cylinder.triangles)
        for (int k = 0; k < 3; ++k) {
            const glm::vec2 out(t.p[k].x, t.p[k].z);
            EXPECT_NEAR(glm::length(out), 1.0f, 1e-5f);
            EXPECT_EQ(t.n[k].y, 0.0f);                                        // no caps
            EXPECT_LT(glm::dot(glm::vec2(t.n[k].x, t.n[k].z), out), -0.99f);  // inward
        }
}

TEST_F(Cylinder, TextureRunsOnceAroundWithADuplicatedSeam) {
    bool seamStart = false, seamEnd = false;
    for (const Triangle& t : cylinder.triangles) {
        const float uMin = std::min({t.uv[0].x, t.uv[1].x, t.uv[2].x});
        const float uMax = std::max({t.uv[0].x, t.uv[1].x, t.uv[2].x});
        EXPECT_GE(uMin, 0.0f);
        EXPECT_LE(uMax, 1.0f);
        EXPECT_LT(uMax - uMin, 0.1f) << "a triangle spans the seam and smears the whole skyline";
        for (int k = 0; k < 3; ++k) {
            const bool atSeam = std::abs(t.p[k].x) < 1e-6f && t.p[k].z > 0.0f;
            seamStart |= atSeam && t.uv[k].x == 0.0f;
            seamEnd |= atSeam && t.uv[k].x == 1.0f;
            // v = 0 at the top edge, 1 at the bottom edge.
            const bool top = t.p[k].y == std::max({t.p[0].y, t.p[1].y, t.p[2].y});
            EXPECT_EQ(t.uv[k].y, top ? 0.0f : 1.0f);
        }
    }
    EXPECT_TRUE(seamStart && seamEnd);
}

TEST_F(Cylinder, SkylineSitsOnTheHorizon) {
    const AssetTests::RgbaImage city = AssetTests::LoadRgba(AssetTests::DataFile("city_bg.png"));
    ASSERT_GT(city.width, 0);
    float top = -1e9f, bottom = 1e9f;
    for (const Triangle& t : cylinder.triangles)
        for (const glm::vec3& p : t.p) top = std::max(top, p.y), bottom = std::min(bottom, p.y);
    auto worldYOfRow = [&](int row) {
        return kCylinderY + kCylinderScale * (top + (bottom - top) * (row + 0.5f) / city.height);
    };
    // From an eye at world y 2 (standing on the lower deck), at the cylinder's radius.
    const float eye = 2.0f;
    auto elevation = [&](float y) { return std::atan2(y - eye, kCylinderScale) * 180.0f / 3.14159265f; };
    float highestRoof = -90.0f, lowestRoof = 90.0f, lowestOpaque = 90.0f;
    for (int x = 0; x < city.width; ++x) {
        int roof = 0;
        while (roof < city.height && city.At(x, roof)[3] == 0) ++roof;
        ASSERT_LT(roof, city.height) << "column " << x << " has no building";
        highestRoof = std::max(highestRoof, elevation(worldYOfRow(roof)));
        lowestRoof = std::min(lowestRoof, elevation(worldYOfRow(roof)));
        int base = city.height - 1;
        while (base > roof && city.At(x, base)[3] == 0) --base;
        lowestOpaque = std::min(lowestOpaque, elevation(worldYOfRow(base)));
    }
    EXPECT_GE(highestRoof, 5.0f);
    EXPECT_LE(highestRoof, 22.0f);
    EXPECT_GT(lowestRoof, 0.0f);     // no gap in the skyline shows the horizon
    EXPECT_LT(lowestOpaque, -5.0f);  // the city continues below eye level
}

}  // namespace
