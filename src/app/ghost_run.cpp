#include "ghost_run.h"

#include "game/projection.h"

#include <GLFW/glfw3.h>

#include <limits>
#include <utility>

GhostRun::GhostRun(Replay replay, Course course) : replay_(std::move(replay)), course_(std::move(course))
{
    startAgain();
    follow(std::numeric_limits<double>::infinity());
    bestTime_ = simulation_.runTime;
    startAgain();
}

void GhostRun::startAgain()
{
    simulation_ = makeSimulation(replay_.header.camera, replay_.header.startCursor, course_);
    paused_ = false;
    ended_ = false;
    next_ = 0;
}

void GhostRun::follow(double runTime)
{
    if (runTime < simulation_.runTime)
        startAgain();
    // A frame that stands still (paused) adds nothing, so it is taken as
    // soon as the frames before it are.
    while (next_ < replay_.frames.size() && !ended_ &&
           simulation_.runTime + replay_.frames[next_].timeStep <= runTime)
        take(replay_.frames[next_++]);
}

// The same order as the live step: the frame's keys first, then, unless
// paused or over, the simulation. A take holds no other events than these.
void GhostRun::take(const ReplayFrame& frame)
{
    bool pauseSwitched = false;
    const WindowEvents& events = frame.events;
    for (int i = 0; i < events.keyReleaseCount; ++i) {
        switch (events.keyReleases[i]) {
        case GLFW_KEY_P:
            paused_ = !paused_;
            pauseSwitched = true;
            break;
        case GLFW_KEY_C:
            simulation_.freeCameraMode = !simulation_.freeCameraMode;
            simulation_.freeCamera.firstMouse = true;
            break;
        default: break;
        }
    }
    const bool standingStill = paused_ || ended_;
    if (standingStill || pauseSwitched)
        simulation_.lastCursor = frame.cursor;
    if (standingStill)
        return;
    const float aspect = aspectRatio(frame.framebufferWidth, frame.framebufferHeight);
    ended_ = stepSimulation(simulation_, frame.timeStep, frame.keys, frame.cursor, aspect).end != RunEnd::none;
}
