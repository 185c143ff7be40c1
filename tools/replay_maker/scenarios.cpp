#include "scenarios.h"

#include "game/pilot.h"

#include "app/app.h"
#include "app/frame.h"
#include "app/replay.h"
#include "app/version.h"
#include "game/run_hash.h"

#include "game/flight.h"

#include <GLFW/glfw3.h>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>

#include <initializer_list>
#include <sstream>

namespace {

// A slow machine's rate: few frames to play, and steps as long as players see.
constexpr float frameTime = 1.0f / 30.0f;
constexpr int framebufferWidth = 320;
constexpr int framebufferHeight = 240;
constexpr std::uint32_t particleSeed = 20261206;
// Longer than the power lasts, so a pause that let it drain would show.
constexpr int pausedFrames = static_cast<int>(6.0f / frameTime);

// One run being recorded: the game's frames run without a window or a
// level, each frame's input written down as the real game would write it.
class Recording {
public:
    explicit Recording(std::string fileName) : fileName_(std::move(fileName))
    {
        header_.gameVersion = gameVersion;
        header_.seed = particleSeed;
        app_.simulation = makeSimulation(header_.camera, header_.startCursor, app_.course);
        app_.particles.seed(header_.seed);
        text_ = formatReplayHeader(header_);
    }

    const Simulation& simulation() const { return app_.simulation; }
    bool ended() const { return ended_; }
    CursorPosition cursor() const { return lastCursor_; }

    // One frame; nothing once the run has ended.
    void frame(HeldKeys keys, CursorPosition cursor, WindowEvents events = {})
    {
        if (ended_)
            return;
        FrameInput input;
        clock_ += frameTime;
        input.clock = clock_;
        input.timeStep = frameTime;
        input.keys = keys;
        input.cursor = cursor;
        input.framebufferWidth = framebufferWidth;
        input.framebufferHeight = framebufferHeight;
        input.events = events;
        const SimulationStep step = runFrame(app_, input, console_);
        text_ += formatReplayFrame(ReplayFrame{step.timeStep, keys, cursor, framebufferWidth, framebufferHeight, events});
        ended_ = step.end != RunEnd::none || events.released(GLFW_KEY_ESCAPE);
        lastCursor_ = cursor;
    }

    // Frames with the cursor where it was.
    void hold(HeldKeys keys, WindowEvents events = {}) { frame(keys, lastCursor_, events); }
    void release(int key)
    {
        WindowEvents events;
        events.release(key);
        hold({}, events);
    }
    void idle(int frames)
    {
        for (int i = 0; i < frames; ++i)
            hold({});
    }

    MadeReplay finish()
    {
        text_ += formatReplayEnd(runHash(app_.simulation, app_.particles));
        return MadeReplay{fileName_, text_, console_.str()};
    }

private:
    std::string fileName_;
    ReplayHeader header_;
    App app_;
    std::string text_;
    std::ostringstream console_;
    double clock_ = 0.0;
    bool ended_ = false;
    CursorPosition lastCursor_;
};

HeldKeys forward()
{
    HeldKeys keys;
    keys.forward = true;
    return keys;
}

// Flies the pilot with W held until `done` holds or the run ends (a
// two-minute limit keeps a pilot that misses from flying forever).
template <typename Done>
void fly(Recording& run, Pilot& pilot, Done done)
{
    for (int i = 0; i < 3600 && !run.ended() && !done(run.simulation()); ++i)
        run.frame(forward(), pilot.aim(run.simulation()));
}

MadeReplay win()
{
    Recording run("win.replay");
    Pilot pilot(winningRoute);
    fly(run, pilot, [](const Simulation&) { return false; });
    return run.finish();
}

MadeReplay loss()
{
    Recording run("loss.replay");
    for (int i = 0; i < 3600 && !run.ended(); ++i)
        run.idle(1);
    return run.finish();
}

// Ring 1, a restart and ring 1 again; a pause by P longer than the power
// lasts and one by the window losing the focus; then in the free camera, which holds the power,
// every switch flipped and flipped back, fullscreen and back, and Escape.
MadeReplay everyShortcut()
{
    Recording run("shortcuts.replay");
    const auto ringOnePassed = [](const Simulation& simulation) { return simulation.state.ringPassed[0]; };
    Pilot firstPilot({0});
    fly(run, firstPilot, ringOnePassed);
    run.release(GLFW_KEY_R);
    Pilot secondPilot({0}, 0.0f, run.cursor());
    fly(run, secondPilot, ringOnePassed);

    run.release(GLFW_KEY_P);
    run.idle(pausedFrames);
    run.release(GLFW_KEY_P);
    run.idle(10);
    WindowEvents focusLost;
    focusLost.focusLost = true;
    run.hold({}, focusLost);
    run.idle(15);
    WindowEvents clicked;
    clicked.clicked = true;
    run.hold({}, clicked);
    run.idle(10);

    run.release(GLFW_KEY_C);
    const std::initializer_list<int> switches = {GLFW_KEY_1, GLFW_KEY_2,  GLFW_KEY_3,  GLFW_KEY_N,
                                                 GLFW_KEY_T, GLFW_KEY_F1, GLFW_KEY_F2};
    for (int pass = 0; pass < 2; ++pass) {
        for (int key : switches) {
            run.release(key);
            run.hold(forward());  // the free camera moves on
        }
    }
    run.release(GLFW_KEY_F3);
    run.idle(5);
    run.release(GLFW_KEY_F3);
    run.idle(5);
    run.release(GLFW_KEY_C);
    run.release(GLFW_KEY_ESCAPE);
    return run.finish();
}

// S held until the fairy has backed into the wall and a moment longer, then
// a pause long enough to look at the picture, which stands still meanwhile.
MadeReplay backingIntoTheWall()
{
    Recording run("backing.replay");
    HeldKeys back;
    back.back = true;
    const auto atTheWall = [&run] {
        const glm::vec3 position = run.simulation().state.fairyPosition;
        return glm::length(glm::vec2(position.x, position.z)) >= fairyHorizontalLimit(run.simulation().course) - 1e-3f;
    };
    for (int i = 0; i < 300 && !atTheWall(); ++i)
        run.hold(back);
    for (int i = 0; i < 15; ++i)
        run.hold(back);
    run.release(GLFW_KEY_P);
    run.idle(static_cast<int>(30.0f / frameTime));
    return run.finish();
}

}  // namespace

std::vector<MadeReplay> makeReplays()
{
    return {win(), loss(), everyShortcut(), backingIntoTheWall()};
}
