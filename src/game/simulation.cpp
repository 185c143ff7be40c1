// The frame's game update, in the order the frame loop runs it.
#include "game/simulation.h"

#include "game/flight.h"
#include "game/follow_camera.h"
#include "game/mouse_look.h"
#include "game/power.h"
#include "game/projection.h"
#include "game/rings.h"

#include <glm/trigonometric.hpp>

#include <algorithm>

namespace {

void stepFollowCamera(Simulation& simulation, float deltaTime, const HeldKeys& keys, glm::vec2 offset,
                      SimulationStep& step)
{
    GameState& state = simulation.state;
    const LookAngles angles =
        turnByCursor({state.cameraYaw, state.cameraPitch}, offset, simulation.camera.mouseSensitivity);
    state.cameraYaw = angles.yaw;
    state.cameraPitch = angles.pitch;
    const glm::vec3 front = frontFromAngles(angles);
    const glm::vec3 right = rightFromFront(front);

    if (stepFairy(state, keys, front, right, deltaTime, simulation.course)) {
        step.messages.emplace_back(gameOverMessage);
        step.end = RunEnd::lost;
    }
    step.fairy = placeFairy(state.fairyPosition, front, state.cameraYaw);

    const CameraPose pose = followCamera(state.fairyPosition, front);
    step.view.eye = pose.eye;
    step.view.view = pose.view;
}

void stepFreeCamera(Simulation& simulation, float deltaTime, const HeldKeys& keys, glm::vec2 offset,
                    SimulationStep& step)
{
    FreeCamera& camera = simulation.freeCamera;
    // The cursor may have moved a long way while the mode was off.
    if (camera.firstMouse) {
        camera.firstMouse = false;
        offset = glm::vec2(0.0f);
    }
    const LookAngles angles = turnByCursor({camera.yaw, camera.pitch}, offset, simulation.camera.mouseSensitivity);
    camera.yaw = angles.yaw;
    camera.pitch = angles.pitch;
    const glm::vec3 front = frontFromAngles(angles);
    const glm::vec3 right = rightFromFront(front);

    moveFreeCamera(camera, keys, front, right, deltaTime);
    step.view.eye = camera.position;
    step.view.view = freeCameraViewMatrix(camera, front, right);
}

}  // namespace

float frameTimeStep(double clock, double previousClock)
{
    return static_cast<float>(std::clamp(clock - previousClock, 0.0, maxTimeStep));
}

Simulation makeSimulation(const CameraSettings& camera, CursorPosition startCursor, const Course& course)
{
    Simulation simulation;
    simulation.camera = camera;
    simulation.course = course;
    simulation.fovRadians = glm::radians(camera.fov);
    simulation.state = makeGameState(camera, course);
    simulation.lastCursor = startCursor;
    // Until the first frame: the follow camera's view of the fairy at its start.
    const glm::vec3 front = frontFromAngles({camera.yaw, camera.pitch});
    const CameraPose pose = followCamera(simulation.state.fairyPosition, front);
    simulation.view.eye = pose.eye;
    simulation.view.view = pose.view;
    return simulation;
}

CameraView pausedView(const Simulation& simulation, float aspect)
{
    CameraView view = simulation.view;
    view.projection = projectionMatrix(simulation.fovRadians, aspect, simulation.camera.near, simulation.camera.far);
    view.viewProjection = view.projection * view.view;
    return view;
}

SimulationStep stepSimulation(Simulation& simulation, float deltaTime, const HeldKeys& keys, CursorPosition cursor,
                              float aspect)
{
    SimulationStep step;
    step.timeStep = deltaTime;
    GameState& state = simulation.state;
    const glm::vec3 pathStart = state.fairyPosition;

    if (!simulation.freeCameraMode && drainPower(state, deltaTime, simulation.course)) {
        step.messages.emplace_back(powerDepletedMessage);
        step.powerRanOut = true;
    }

    const glm::vec2 offset = cursorOffset(simulation.lastCursor, cursor, simulation.camera.invertY);
    simulation.lastCursor = cursor;
    if (simulation.freeCameraMode)
        stepFreeCamera(simulation, deltaTime, keys, offset, step);
    else
        stepFollowCamera(simulation, deltaTime, keys, offset, step);

    simulation.view = step.view;
    step.view = pausedView(simulation, aspect);
    simulation.view = step.view;
    simulation.runTime += deltaTime;

    step.ringPassed = passRing(state, pathStart, simulation.course);
    if (step.ringPassed >= 0)
        step.messages.push_back(ringPassedMessage(step.ringPassed, state.totalPassed));

    if (reachedFinish(pathStart, state.fairyPosition, simulation.course)) {
        step.messages.emplace_back(winMessage);
        step.end = RunEnd::won;
    }
    return step;
}
