// Transform maths on the CPU side, without a context: projections, model operations and the
// save/restore stack that grows to the deepest level and never shrinks.
#include "engine/graphics/transform.h"
#include "engine/graphics/shader_program.h"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

void ExpectClip(const Engine::Transform& t, glm::vec3 point, glm::vec4 expected) {
    const glm::vec4 clip = t.GetProjection() * t.GetView() * t.GetModel() * glm::vec4(point, 1.0f);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(clip[i], expected[i], 1e-5f) << "component " << i;
}

TEST(TransformTest, OrthoHasItsOriginTopLeftAndResetsTheView) {
    Engine::Transform t;
    t.View(glm::translate(glm::mat4(1.0f), glm::vec3(3, 4, 5)));
    t.Ortho(320, 200);
    EXPECT_EQ(t.GetView(), glm::mat4(1.0f));
    ExpectClip(t, {0, 0, 0}, {-1, 1, 0, 1});
    ExpectClip(t, {320, 200, 0}, {1, -1, 0, 1});
    ExpectClip(t, {0, 0, 1}, {-1, 1, -1, 1});  // depth runs from -1 to 1
}

TEST(TransformTest, ProjectionTakesDegreesAndAFloatAspect) {
    Engine::Transform t;
    t.Projection(75, Engine::Point(320, 200), 0.1f, 200);
    const glm::mat4 expected = glm::perspective(75.0f * 3.1415927f / 180.0f, 1.6f, 0.1f, 200.0f);
    EXPECT_EQ(t.GetProjection(), expected);
    EXPECT_NEAR(t.GetProjection()[1][1] / t.GetProjection()[0][0], 1.6f, 1e-6f);
    t.Projection(90, Engine::Point(3, 2), 1, 10);  // an integer division would give 1
    EXPECT_NEAR(t.GetProjection()[1][1] / t.GetProjection()[0][0], 1.5f, 1e-6f);
}

TEST(TransformTest, ModelOperationsComposeOnTheRight) {
    Engine::Transform t;
    t.Translate(10, 20, 0);
    t.Scale(2, 3, 1);
    t.Rotate(glm::radians(90.0f), glm::vec3(0, 0, 1));
    const glm::vec4 p = t.GetModel() * glm::vec4(1, 0, 0, 1);
    EXPECT_NEAR(p.x, 10, 1e-5f);
    EXPECT_NEAR(p.y, 23, 1e-5f);
}

TEST(TransformTest, PushTranslatePopRestoresAndReusesTheEntry) {
    Engine::Transform t;
    t.Ortho(100, 50);
    t.Translate(1, 2, 3);
    const glm::mat4 model = t.GetModel();
    const glm::mat4 projection = t.GetProjection();
    for (int round = 0; round < 2; ++round) {
        t.PushMatrix();
        t.Translate(5, 0, 0);
        t.Projection(60, Engine::Point(1, 1), 1, 2);
        t.View(glm::mat4(2.0f));
        t.PopMatrix();
        EXPECT_EQ(t.GetModel(), model);
        EXPECT_EQ(t.GetProjection(), projection);
        EXPECT_EQ(t.GetView(), glm::mat4(1.0f));
        EXPECT_EQ(t.GetStackLength(), 1u);
    }
}

TEST(TransformTest, NestedPushesGrowTheStacksAndNeverShrinkThem) {
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
    EXPECT_EQ(t.GetStackLength(), 2u);
    t.PushMatrix();
    t.PushMatrix();
    t.ResetStack();
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetStackLength(), 2u);
}

TEST(TransformTest, PopAtDepthZeroChangesNothing) {
    Engine::Transform t;
    t.PopMatrix();  // empty stacks
    t.PushMatrix();
    t.PopMatrix();
    t.Translate(7, 0, 0);
    const glm::mat4 model = t.GetModel();
    t.PopMatrix();  // stacks with storage, holding an older matrix
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetModel(), model);
}

TEST(TransformTest, InitWithoutAProgramResetsWithoutOpenGL) {
    Engine::ShaderProgram none(0);
    Engine::Transform t;
    t.PushMatrix();
    t.Translate(1, 2, 3);
    t.Ortho(10, 10);
    t.Init(&none);
    EXPECT_EQ(t.GetModel(), glm::mat4(1.0f));
    EXPECT_EQ(t.GetProjection(), glm::mat4(1.0f));
    EXPECT_EQ(t.GetDepth(), 0);
    EXPECT_EQ(t.GetStackLength(), 1u);  // a stack with entries is kept
}

}  // namespace
