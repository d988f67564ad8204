#include "engine/camera/first_person.h"

#include <gtest/gtest.h>

using Engine::Camera1stPerson;

namespace {

constexpr float Pi = 3.14159265f;

void ExpectNear(glm::vec3 actual, glm::vec3 expected, const char* what) {
    EXPECT_LT(glm::length(actual - expected), 1e-5f)
        << what << ": " << actual.x << ", " << actual.y << ", " << actual.z;
}

glm::vec3 ToEye(Engine::Camera& camera, glm::vec3 p) {
    return glm::vec3(camera.GetViewMatrix() * glm::vec4(p, 1));
}

TEST(CameraTest, BaseCameraIsIdentity) {
    Engine::Camera base;
    EXPECT_EQ(base.GetViewMatrix(), glm::mat4(1.0f));
}

TEST(FirstPersonCameraTest, YawZeroLooksAlongPlusZWithPlusXOnTheLeft) {
    Camera1stPerson camera(glm::vec3(0.0f));
    Engine::Camera& base = camera;  // reached through the interface, as the scene does
    ExpectNear(ToEye(base, {0, 0, 5}), {0, 0, -5}, "ahead");
    ExpectNear(ToEye(base, {1, 0, 0}), {-1, 0, 0}, "+x is to the left");
    EXPECT_EQ(camera.target, glm::vec3(0, 0, 1));
}

TEST(FirstPersonCameraTest, AnglesAimTheViewFromThePosition) {
    const struct {
        const char* name;
        glm::vec3 rotation, direction;
    } cases[] = {
        {"yaw pi/2 looks along +x", {0, Pi / 2, 0}, {1, 0, 0}},
        {"yaw pi looks along -z", {0, Pi, 0}, {0, 0, -1}},
        {"positive pitch looks up", {Pi / 6, 0, 0}, {0, 0.5f, 0.8660254f}},
    };
    const glm::vec3 eye(0.1f, 12.0f, -15.0f);
    for (const auto& c : cases) {
        Camera1stPerson camera(eye);
        camera.rotation = c.rotation;
        ExpectNear(ToEye(camera, eye + 3.0f * c.direction), {0, 0, -3}, c.name);
        ExpectNear(camera.target - eye, c.direction, c.name);
    }
}

TEST(FirstPersonCameraTest, RollChangesNothing) {
    Camera1stPerson level(glm::vec3(1, 2, 3));
    level.rotation = glm::vec3(0.3f, 0.7f, 0.0f);
    Camera1stPerson rolled = level;
    rolled.rotation.z = 1.1f;
    EXPECT_EQ(level.GetViewMatrix(), rolled.GetViewMatrix());
}

TEST(FirstPersonCameraTest, AssignmentCopiesAllThreeFields) {
    Camera1stPerson source(glm::vec3(0.1f, 10.0f, -15.0f));
    source.rotation = glm::vec3(0.2f, 0.4f, 0.6f);
    source.SetLookAt();
    Camera1stPerson copy;
    copy = source;
    EXPECT_EQ(copy.position, source.position);
    EXPECT_EQ(copy.target, source.target);
    EXPECT_EQ(copy.rotation, source.rotation);
}

}  // namespace
