// Transform against the program: the three matrices reach their uniforms only through Apply.
#include "engine/graphics/drawing_fixture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

namespace {

using GraphicsTesting::DrawingTest;

class TransformGLTest : public DrawingTest {
protected:
    glm::mat4 Uniform(const char* name) {
        glm::mat4 value(0.0f);
        glGetUniformfv(program->GetId(), glGetUniformLocation(program->GetId(), name), glm::value_ptr(value));
        return value;
    }
};

TEST_F(TransformGLTest, ApplyUploadsModelViewAndProjection) {
    Engine::Transform& t = graphics->transform;
    t.Translate(1, 2, 3);
    t.LookAt(glm::vec3(0, 1, 5), glm::vec3(0, 1, 0), glm::vec3(0, 1, 0));
    t.Projection(75, Engine::Point(320, 200), 0.1f, 200);
    t.Apply();
    EXPECT_EQ(Uniform("model"), t.GetModel());
    EXPECT_EQ(Uniform("view"), t.GetView());
    EXPECT_EQ(Uniform("projection"), t.GetProjection());
}

TEST_F(TransformGLTest, OnlyApplyTouchesTheProgram) {
    Engine::Transform& t = graphics->transform;
    const glm::mat4 uploaded = t.GetModel();
    t.PushMatrix();
    t.Translate(5, 0, 0);
    EXPECT_EQ(Uniform("model"), uploaded);
    t.Apply();
    const glm::mat4 moved = t.GetModel();
    t.PopMatrix();
    EXPECT_EQ(t.GetModel(), uploaded);
    EXPECT_EQ(Uniform("model"), moved);  // popping restores the CPU side only
}

TEST_F(TransformGLTest, InitLooksUpRealLocations) {
    // Init resets the matrices; the next Apply writes identity into all three uniforms.
    graphics->transform.Translate(4, 4, 4);
    graphics->transform.Init(program);
    graphics->transform.Apply();
    EXPECT_EQ(Uniform("model"), glm::mat4(1.0f));
    EXPECT_EQ(Uniform("view"), glm::mat4(1.0f));
    EXPECT_EQ(Uniform("projection"), glm::mat4(1.0f));
}

}  // namespace
