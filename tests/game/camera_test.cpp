// Mouse look, the follow and free cameras, and the projection.
#include "game/follow_camera.h"
#include "game/free_camera.h"
#include "game/mouse_look.h"
#include "game/projection.h"

#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectNear(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-5f)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

glm::vec3 toViewSpace(const glm::mat4& view, glm::vec3 point)
{
    return glm::vec3(view * glm::vec4(point, 1.0f));
}

}  // namespace

TEST(MouseLook, CursorRightTurnsLeftwardYawAndCursorUpRaisesPitch)
{
    const glm::vec2 offset = cursorOffset({100.0, 100.0}, {150.0, 80.0});
    EXPECT_EQ(offset, glm::vec2(50.0f, 20.0f));
    const LookAngles turned = turnByCursor({0.5f, 0.1f}, offset);
    EXPECT_FLOAT_EQ(turned.yaw, 0.4f);
    EXPECT_FLOAT_EQ(turned.pitch, 0.14f);
}

TEST(MouseLook, OffsetOfFarAwayCursorKeepsItsPrecision)
{
    const glm::vec2 offset = cursorOffset({1e9, -1e9}, {1e9 + 3.0, -1e9 - 4.0});
    EXPECT_EQ(offset, glm::vec2(3.0f, 4.0f));
}

TEST(MouseLook, PitchStopsAt89DegreesAndTheViewKeepsAHeading)
{
    const LookAngles up = turnByCursor({0.0f, 0.0f}, {0.0f, 1e6f});
    EXPECT_EQ(up.pitch, pitchLimit);
    const LookAngles down = turnByCursor({0.0f, 0.0f}, {0.0f, -1e6f});
    EXPECT_EQ(down.pitch, -pitchLimit);
    for (const LookAngles& angles : {up, down}) {
        const glm::vec3 front = frontFromAngles(angles);
        EXPECT_GT(glm::length(glm::vec2(front.x, front.z)), 0.017f);
        EXPECT_NEAR(glm::length(rightFromFront(front)), 1.0f, 1e-5f);
    }
}

TEST(MouseLook, YawIsNotWrapped)
{
    const LookAngles turned = turnByCursor({0.0f, 0.0f}, {-10000.0f, 0.0f});
    EXPECT_FLOAT_EQ(turned.yaw, 20.0f);
}

TEST(MouseLook, ZeroAnglesLookAlongPositiveZWithRightAlongNegativeX)
{
    expectNear(frontFromAngles({0.0f, 0.0f}), {0.0f, 0.0f, 1.0f});
    expectNear(rightFromFront(frontFromAngles({0.0f, 0.0f})), {-1.0f, 0.0f, 0.0f});
    expectNear(frontFromAngles({1.5707963f, 0.0f}), {1.0f, 0.0f, 0.0f});
}

TEST(FollowCamera, StartsBehindAndAboveTheFairyLookingJustAboveIt)
{
    const glm::vec3 fairy(0.0f, 0.5f, 0.0f);
    const glm::vec3 eye = followCameraEye(fairy, frontFromAngles({0.0f, 0.0f}));
    expectNear(eye, {0.0f, 2.0f, -3.0f});
    expectNear(followCameraTarget(fairy), {0.0f, 1.0f, 0.0f});

    const glm::mat4 view = followCameraViewMatrix(eye, fairy);
    expectNear(toViewSpace(view, eye), {0.0f, 0.0f, 0.0f});
    expectNear(toViewSpace(view, {0.0f, 1.0f, 0.0f}), {0.0f, 0.0f, -std::sqrt(10.0f)});
    EXPECT_GT(toViewSpace(view, {0.0f, 10.0f, 0.0f}).y, 0.0f);
}

TEST(FollowCamera, EyeIsPulledBackOntoTheWallCircle)
{
    const glm::vec3 fairy(4.9f, 5.0f, 0.0f);
    const glm::vec3 facingAxis = frontFromAngles({-1.5707963f, 0.0f});
    expectNear(followCameraEye(fairy, facingAxis), {4.9f, 6.5f, 0.0f});

    const glm::vec3 diagonalFairy(3.0f, 5.0f, 3.0f);
    const glm::vec3 eye = followCameraEye(diagonalFairy, glm::normalize(glm::vec3(-1.0f, 0.0f, -1.0f)));
    EXPECT_NEAR(glm::length(glm::vec2(eye.x, eye.z)), 4.9f, 1e-5f);
    EXPECT_NEAR(eye.x, eye.z, 1e-5f);
}

TEST(FollowCamera, EyeStaysAboveTheWater)
{
    // Looking up from the floor puts the eye below the fairy.
    const glm::vec3 fairy(1.0f, 0.2f, 1.0f);
    const glm::vec3 front = frontFromAngles({0.0f, 1.0f});
    const glm::vec3 eye = followCameraEye(fairy, front);
    EXPECT_EQ(eye.y, cameraLowestHeight);
    EXPECT_NEAR(eye.z, 1.0f - front.z * 3.0f, 1e-5f);
}

TEST(FreeCamera, MovesFiveUnitsPerSecondAlongViewAndVertically)
{
    const glm::vec3 front = frontFromAngles({0.0f, 0.0f});
    const glm::vec3 right = rightFromFront(front);
    HeldKeys up;
    up.up = true;
    FreeCamera camera;
    moveFreeCamera(camera, up, front, right, 0.5f);
    expectNear(camera.position, {0.0f, 12.5f, 0.0f});

    HeldKeys down;
    down.down = true;
    moveFreeCamera(camera, down, front, right, 1.0f);
    expectNear(camera.position, {0.0f, 7.5f, 0.0f});

    HeldKeys climbForward;
    climbForward.forward = true;
    climbForward.up = true;
    moveFreeCamera(camera, climbForward, front, right, 1.0f);
    expectNear(camera.position, glm::vec3(0.0f, 7.5f, 0.0f) + glm::vec3(0.0f, 1.0f, 1.0f) * (5.0f / std::sqrt(2.0f)));
}

TEST(FreeCamera, LeavesTheWellFreely)
{
    const glm::vec3 front = frontFromAngles({1.5707963f, 0.0f});
    FreeCamera camera;
    HeldKeys forward;
    forward.forward = true;
    moveFreeCamera(camera, forward, front, rightFromFront(front), 4.0f);
    expectNear(camera.position, {20.0f, 10.0f, 0.0f}, 1e-4f);
}

TEST(FreeCamera, ViewLooksAlongFrontWithUprightUp)
{
    const glm::vec3 front = frontFromAngles({0.4f, -0.3f});
    FreeCamera camera;
    camera.position = {1.0f, 2.0f, 3.0f};
    const glm::mat4 view = freeCameraViewMatrix(camera, front, rightFromFront(front));
    expectNear(toViewSpace(view, camera.position + front * 2.0f), {0.0f, 0.0f, -2.0f});
    EXPECT_GT(toViewSpace(view, camera.position + glm::vec3(0.0f, 1.0f, 0.0f)).y, 0.0f);
}

TEST(Projection, IsTheRightHandedPerspectiveWithDepthMinusOneToOne)
{
    const float fov = 60.0f * 0.017453292f;
    const float aspect = aspectRatio(800, 600);
    EXPECT_FLOAT_EQ(aspect, 800.0f / 600.0f);
    const glm::mat4 p = projectionMatrix(fov, aspect, 0.1f, 100.0f);
    const float t = std::tan(fov / 2.0f);
    EXPECT_FLOAT_EQ(p[0][0], 1.0f / (aspect * t));
    EXPECT_FLOAT_EQ(p[1][1], 1.0f / t);
    EXPECT_FLOAT_EQ(p[2][2], -(100.0f + 0.1f) / (100.0f - 0.1f));
    EXPECT_FLOAT_EQ(p[2][3], -1.0f);
    EXPECT_FLOAT_EQ(p[3][2], -(2.0f * 100.0f * 0.1f) / (100.0f - 0.1f));
    EXPECT_EQ(p[3][3], 0.0f);
    EXPECT_EQ(p[0][1], 0.0f);
    EXPECT_EQ(p[2][0], 0.0f);
}

TEST(Projection, FramebufferWithoutAreaUsesAspectOne)
{
    EXPECT_EQ(aspectRatio(0, 0), 1.0f);
    EXPECT_EQ(aspectRatio(800, 0), 1.0f);
    EXPECT_EQ(aspectRatio(0, 600), 1.0f);
    EXPECT_EQ(aspectRatio(300, 300), 1.0f);
}
