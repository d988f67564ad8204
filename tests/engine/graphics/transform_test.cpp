// Transform maths on the CPU side, without a context: projections, model operations and the
// save/restore stack that grows to the deepest level and never shrinks.
#include "engine/graphics/shader_program.h"
#include "engine/graphics/transform.h"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

glm::vec4 Clip(const Engine::Transform& t, glm::vec3 p) {
    return t.GetProjection() * t.GetView() * t.GetModel() * glm::vec4(p, 1.0f);
}

void ExpectVec(glm::vec4 actual, glm::vec4 expected) {
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

TEST(TransformTest, OrthoHasItsOriginTopLeftAndResetsTheView) {
    Engine::Transform t;
    t.View(glm::translate(glm::mat4(1.0f), glm::vec3(3, 4, 5)));
    t.Ortho(320, 200);
    EXPECT_EQ(t.GetView(), glm::mat4(1.0f));
    ExpectVec(Clip(t, {0, 0, 0}), {-1, 1, 0, 1});
    ExpectVec(Clip(t, {320, 200, 0}), {1, -1, 0, 1});
    ExpectVec(Clip(t, {160, 100, 0}), {0, 0, 0, 1});
    // The four-argument form: depth runs from -1 to 1.
    ExpectVec(Clip(t, {0, 0, 1}), {-1, 1, -1, 1});
}

TEST(TransformTest, ProjectionConvertsDegreesAndUsesTheSizeAsAspect) {
    Engine::Transform t;
    t.Projection(75, Engine::Point(320, 200), 0.1f, 200);
    const glm::mat4 expected = glm::perspective(glm::radians(75.0f), 1.6f, 0.1f, 200.0f);
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) EXPECT_NEAR(t.GetProjection()[c][r], expected[c][r], 1e-6f);
    }
    EXPECT_NEAR(t.GetProjection()[1][1] / t.GetProjection()[0][0], 1.6f, 1e-6f);
    EXPECT_NEAR(t.GetProjection()[1][1], 1.0f / std::tan(75.0f * 3.1415927f / 360.0f), 1e-6f);
    // The aspect is a float division, not an integer one (which would give 1).
    t.Projection(90, Engine::Point(3, 2), 1, 10);
    EXPECT_NEAR(t.GetProjection()[1][1] / t.GetProjection()[0][0], 1.5f, 1e-6f);
}

TEST(TransformTest, ModelOperationsComposeOnTheRight) {
    Engine::Transform t;
    t.Translate(10, 20, 0);
    t.Scale(2, 3, 1);
    ExpectVec(t.GetModel() * glm::vec4(1, 1, 0, 1), {12, 23, 0, 1});
    t.Rotate(glm::radians(90.0f), glm::vec3(0, 0, 1));
    ExpectVec(t.GetModel() * glm::vec4(1, 0, 0, 1), {10, 23, 0, 1});
    t.Identity();
    EXPECT_EQ(t.GetModel(), glm::mat4(1.0f));
}

TEST(TransformTest, IdentityTouchesOnlyTheModel) {
    Engine::Transform t;
    t.LookAt(glm::vec3(0, 0, 5), glm::vec3(0), glm::vec3(0, 1, 0));
    t.Projection(60, Engine::Point(4, 3), 1, 100);
    const glm::mat4 view = t.GetView();
    const glm::mat4 projection = t.GetProjection();
    t.Translate(1, 1, 1);
    t.Identity();
    EXPECT_EQ(t.GetView(), view);
    EXPECT_EQ(t.GetProjection(), projection);
    EXPECT_EQ(view, glm::lookAt(glm::vec3(0, 0, 5), glm::vec3(0), glm::vec3(0, 1, 0)));
}

TEST(TransformTest, PopRestoresAllThreeMatricesAndReusesStorage) {
    Engine::Transform t;
    t.Ortho(100, 50);
    t.Translate(1, 2, 3);
    const glm::mat4 model = t.GetModel();
    const glm::mat4 projection = t.GetProjection();

    t.PushMatrix();
    t.Translate(5, 0, 0);
    t.Projection(60, Engine::Point(1, 1), 1, 2);
    t.View(glm::mat4(2.0f));
    t.PopMatrix();
    EXPECT_EQ(t.GetModel(), model);
    EXPECT_EQ(t.GetProjection(), projection);
    EXPECT_EQ(t.GetView(), glm::mat4(1.0f));
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetStackLength(), 1u);

    t.PushMatrix();  // reuses the stored entry
    EXPECT_EQ(t.GetStackLength(), 1u);
    t.PopMatrix();
}

TEST(TransformTest, NestedPushesGrowTheStacksOnceAndPopInOrder) {
    Engine::Transform t;
    t.Translate(1, 0, 0);
    const glm::mat4 outer = t.GetModel();
    t.PushMatrix();
    t.Translate(1, 0, 0);
    const glm::mat4 inner = t.GetModel();
    t.PushMatrix();
    t.Translate(1, 0, 0);
    EXPECT_EQ(t.GetDepth(), 2);
    EXPECT_EQ(t.GetStackLength(), 2u);

    t.PopMatrix();
    EXPECT_EQ(t.GetModel(), inner);
    t.PopMatrix();
    EXPECT_EQ(t.GetModel(), outer);
    EXPECT_EQ(t.GetStackLength(), 2u);  // never shrinks

    t.PushMatrix();
    t.PushMatrix();
    t.PopMatrix();
    t.PopMatrix();
    EXPECT_EQ(t.GetStackLength(), 2u);
}

TEST(TransformTest, PopWithoutPushChangesNothing) {
    Engine::Transform t;
    t.Translate(7, 0, 0);
    const glm::mat4 model = t.GetModel();
    t.PopMatrix();
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetModel(), model);

    t.PushMatrix();
    t.PopMatrix();
    t.PopMatrix();  // one pop too many, with a stack that has storage
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetModel(), model);
}

TEST(TransformTest, ResetStackKeepsStorage) {
    Engine::Transform t;
    t.PushMatrix();
    t.PushMatrix();
    t.ResetStack();
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetStackLength(), 2u);
}

TEST(TransformTest, InitWithoutAProgramResetsWithoutOpenGL) {
    Engine::ShaderProgram none(0);
    Engine::Transform t;
    t.PushMatrix();
    t.Translate(1, 2, 3);
    t.Ortho(10, 10);
    t.Init(&none);
    EXPECT_EQ(t.GetModel(), glm::mat4(1.0f));
    EXPECT_EQ(t.GetView(), glm::mat4(1.0f));
    EXPECT_EQ(t.GetProjection(), glm::mat4(1.0f));
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetStackLength(), 1u);  // a stack with entries is kept
}

}  // namespace
