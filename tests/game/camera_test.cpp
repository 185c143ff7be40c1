// Mouse look, the follow and free cameras, and the projection.
#include "game/follow_camera.h"
#include "frames.h"
#include "game/free_camera.h"
#include "game/mouse_look.h"
#include "game/projection.h"

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec4.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

TEST(MouseLook, CursorMotionTurnsTheViewAndThePitchStopsAt89Degrees)
{
    // Right turns towards -yaw; up (screen y falling) raises the pitch.
    const glm::vec2 offset = cursorOffset({1e9, 100.0}, {1e9 + 50.0, 80.0});
    EXPECT_EQ(offset, glm::vec2(50.0f, 20.0f));
    const LookAngles turned = turnByCursor({0.5f, 0.1f}, offset, 0.002f);
    EXPECT_FLOAT_EQ(turned.yaw, 0.4f);
    EXPECT_FLOAT_EQ(turned.pitch, 0.14f);
    EXPECT_EQ(cursorOffset({0.0, 100.0}, {0.0, 80.0}, true), glm::vec2(0.0f, -20.0f)) << "inverted";
    // A replayed jump from one extreme cursor to the other still turns the view by a finite angle.
    const glm::vec2 jump = cursorOffset({-3.4e38, 0.0}, {3.4e38, 0.0});
    EXPECT_TRUE(std::isfinite(turnByCursor({0.0f, 0.0f}, jump, 1.0f).yaw)) << jump.x;

    for (float push : {1e6f, -1e6f}) {
        const LookAngles limited = turnByCursor({0.0f, 0.0f}, {0.0f, push}, 0.002f);
        EXPECT_EQ(std::abs(limited.pitch), pitchLimit);
        const glm::vec3 front = frontFromAngles(limited);
        EXPECT_GT(glm::length(glm::vec2(front.x, front.z)), 0.017f) << "the view keeps a heading";
    }
}

// Every place the flight allows, every heading and pitch: a finite view with
// the fairy inside a 60-degree picture, and the eye inside the well. Where
// the plain position behind the fairy has room, the eye is exactly there.
TEST(FollowCamera, KeepsTheFairyInViewAndTheEyeInsideTheWellEverywhere)
{
    const glm::mat4 projection = projectionMatrix(glm::radians(60.0f), 16.0f / 9.0f, 0.1f, 100.0f);
    int constrained = 0;
    for (float height : {0.2f, 0.25f, 0.5f, 1.0f, 1.8f, 10.0f, 22.0f}) {
        for (float radius : {0.0f, 2.0f, 4.0f, 4.6f, 4.9f}) {
            for (int around = 0; around < 24; ++around) {
                const float angle = 0.2617994f * around;
                const glm::vec3 fairy(radius * std::cos(angle), height, radius * std::sin(angle));
                for (int heading = 0; heading < 24; ++heading) {
                    for (float pitch = -pitchLimit; pitch <= pitchLimit; pitch += 0.0872665f) {
                        const glm::vec3 front = frontFromAngles({0.2617994f * heading + 0.01f, pitch});
                        const CameraPose pose = followCamera(fairy, front);
                        const glm::vec4 clip = projection * pose.view * glm::vec4(fairy, 1.0f);
                        ASSERT_TRUE(std::isfinite(clip.x) && std::isfinite(clip.y) && std::isfinite(clip.w));
                        ASSERT_GT(clip.w, 1.0f) << "fairy behind or at the camera";
                        ASSERT_LT(std::abs(clip.x), 0.9f * clip.w);
                        ASSERT_LT(std::abs(clip.y), 0.9f * clip.w);
                        ASSERT_LE(glm::length(glm::vec2(pose.eye.x, pose.eye.z)), cameraHorizontalLimit + 1e-4f);
                        ASSERT_GE(pose.eye.y, cameraLowestHeight - 1e-5f);

                        glm::vec3 plainEye = fairy - front * 3.0f + glm::vec3(0.0f, 1.5f, 0.0f);
                        plainEye.y = std::max(plainEye.y, 0.3f);
                        const bool hasRoom = glm::length(glm::vec2(plainEye.x, plainEye.z)) <= 4.9f &&
                                             glm::distance(plainEye, fairy) >= 1.5f;
                        if (hasRoom)
                            ASSERT_EQ(pose.eye, plainEye);
                        else
                            ++constrained;
                    }
                }
            }
        }
    }
    EXPECT_GT(constrained, 1000);  // the grid reaches the wall and the floor
}

// Backing into the wall swings the camera over the fairy smoothly: the
// picture's up and right axes turn a little from frame to frame, never jump.
TEST(FollowCamera, BackingIntoTheWallTurnsTheViewSmoothly)
{
    for (float yaw : {0.0f, 0.7f, -2.1f}) {
        const glm::vec3 front = frontFromAngles({yaw, 0.0f});
        glm::vec3 fairy(0.0f, 5.0f, 0.0f);
        glm::mat3 previous(followCamera(fairy, front).view);
        for (int frame = 0; frame < 200; ++frame) {
            fairy -= front * (2.5f / 60.0f);
            const float outside = glm::length(glm::vec2(fairy.x, fairy.z)) / 4.9f;
            if (outside > 1.0f)
                fairy = glm::vec3(fairy.x / outside, fairy.y, fairy.z / outside);
            const glm::mat3 axes(followCamera(fairy, front).view);
            for (int row = 0; row < 3; ++row) {
                const glm::vec3 now(axes[0][row], axes[1][row], axes[2][row]);
                const glm::vec3 before(previous[0][row], previous[1][row], previous[2][row]);
                ASSERT_GT(glm::dot(now, before), 0.99f) << "yaw " << yaw << ", frame " << frame;
            }
            previous = axes;
        }
        EXPECT_NEAR(glm::length(glm::vec2(fairy.x, fairy.z)), 4.9f, 1e-4f);
    }
}

TEST(FreeCamera, FliesFiveUnitsASecondAnywhereAndLooksAlongItsFront)
{
    const glm::vec3 front = frontFromAngles({0.0f, 0.0f});
    const glm::vec3 right = rightFromFront(front);
    FreeCamera camera;
    HeldKeys keys;
    keys.up = true;
    moveFreeCamera(camera, keys, front, right, 0.5f);
    EXPECT_LT(glm::distance(camera.position, glm::vec3(0.0f, 12.5f, 0.0f)), 1e-5f);
    keys.forward = true;
    moveFreeCamera(camera, keys, front, right, 1.0f);
    const float diagonal = 5.0f / std::sqrt(2.0f);
    EXPECT_LT(glm::distance(camera.position, glm::vec3(0.0f, 12.5f + diagonal, diagonal)), 1e-5f);
    keys = holding(true);
    moveFreeCamera(camera, keys, front, right, 10.0f);  // no wall holds it
    EXPECT_GT(camera.position.z, 50.0f);

    const glm::vec3 tilted = frontFromAngles({0.4f, -0.3f});
    const glm::mat4 view = freeCameraViewMatrix(camera, tilted, rightFromFront(tilted));
    EXPECT_LT(glm::distance(glm::vec3(view * glm::vec4(camera.position + tilted * 2.0f, 1.0f)), glm::vec3(0, 0, -2)), 1e-4f);
    EXPECT_GT((view * glm::vec4(camera.position + glm::vec3(0.0f, 1.0f, 0.0f), 1.0f)).y, 0.0f);
}

// A minimised window has no area; its projection must still be finite.
TEST(Projection, AWindowWithoutAreaStillProjectsFinitely)
{
    for (const auto& size : {std::pair{0, 0}, std::pair{800, 0}, std::pair{0, 600}}) {
        const glm::mat4 p = projectionMatrix(glm::radians(60.0f), aspectRatio(size.first, size.second), 0.1f, 100.0f);
        const glm::vec4 clip = p * glm::vec4(1.0f, 1.0f, -1.0f, 1.0f);
        EXPECT_TRUE(std::isfinite(clip.x) && std::isfinite(clip.y) && std::isfinite(clip.z)) << size.first << "x" << size.second;
    }
}
