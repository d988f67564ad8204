// Properties every committed model must have for the game's OBJ conversion and drawing: one shape,
// complete v/vt/vn corners, unit normals that agree with the winding, and y values the 0.001 snap
// leaves unchanged.
#include <gtest/gtest.h>

#include "tools/generated_assets.h"

namespace {

using AssetTests::LoadObj;
using AssetTests::ObjFile;

class ModelFile : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        obj = LoadObj(AssetTests::DataFile(GetParam()));
        ASSERT_TRUE(obj.loaded) << obj.error;
        ASSERT_FALSE(obj.triangles.empty());
    }
    ObjFile obj;
};

TEST_P(ModelFile, HoldsEverythingInOneShape) { EXPECT_EQ(obj.shapeCount, 1u); }

TEST_P(ModelFile, EveryCornerHasPositionUvAndNormal) {
    for (std::size_t i = 0; i < obj.triangles.size(); ++i)
        EXPECT_TRUE(obj.triangles[i].complete) << "triangle " << i;
}

TEST_P(ModelFile, NormalsAreUnitLengthAndFaceTheWindingSide) {
    for (std::size_t i = 0; i < obj.triangles.size(); ++i) {
        const AssetTests::Triangle& t = obj.triangles[i];
        const glm::vec3 winding = AssetTests::WindingNormal(t);
        ASSERT_GT(glm::length(winding), 1e-7f) << "degenerate triangle " << i;
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(glm::length(t.n[k]), 1.0f, 1e-4f) << "triangle " << i << " corner " << k;
            EXPECT_GT(glm::dot(glm::normalize(winding), t.n[k]), 0.999f)
                << "triangle " << i << " corner " << k;
        }
    }
}

TEST_P(ModelFile, HeightsSurviveTheSnap) {
    for (std::size_t i = 0; i < obj.triangles.size(); ++i)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(obj.triangles[i].rawY[k], AssetTests::SnapY(obj.triangles[i].rawY[k]))
                << "triangle " << i << " corner " << k;
}

INSTANTIATE_TEST_SUITE_P(GameData, ModelFile, ::testing::Values("room2.obj", "skybox.obj", "cylinder.obj"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
