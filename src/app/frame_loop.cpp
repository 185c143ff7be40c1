#include "frame_loop.h"

#include "best_time.h"
#include "course_choice.h"
#include "ghost_file.h"
#include "framework/console.h"

#include <GLFW/glfw3.h>

#include <optional>
#include <utility>

namespace {

bool isHeld(GLFWwindow* window, int key)
{
    return glfwGetKey(window, key) == GLFW_PRESS;
}

// The first joystick GLFW maps as a gamepad, or -1.
int connectedGamepad()
{
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        if (glfwJoystickIsGamepad(joystick))
            return joystick;
    }
    return -1;
}

// The gamepad's sticks and buttons added to what the keyboard and mouse did.
// A pad plays whatever application has the focus, so only while this window
// has it; pads are looked for every frame, as they come and go.
void addGamepad(App& app, FrameInput& input)
{
    const int joystick = app.hadFocus ? connectedGamepad() : -1;
    GLFWgamepadstate raw;
    if (joystick < 0 || !glfwGetGamepadState(joystick, &raw)) {
        app.gamepads.joystick = -1;
        return;
    }
    Gamepads& pads = app.gamepads;
    const bool found = joystick != pads.joystick;  // just plugged in, or back with the focus
    if (found)
        pads.previous = PadState{};
    pads.joystick = joystick;
    PadState now;
    for (std::size_t i = 0; i < now.buttons.size(); ++i) {
        // A button down when the pad is found was pressed where this window
        // could not see it: it counts as up until let go.
        const bool down = raw.buttons[i] == GLFW_PRESS;
        pads.heldElsewhere[i] = down && (found || pads.heldElsewhere[i]);
        now.buttons[i] = down && !pads.heldElsewhere[i];
    }
    for (std::size_t i = 0; i < now.axes.size(); ++i)
        now.axes[i] = raw.axes[i];
    const PadInput pad = mapGamepad(now, pads.previous, frameTimeStep(input.clock, app.lastFrameTime));
    pads.previous = now;
    input.keys.forward = input.keys.forward || pad.keys.forward;
    input.keys.back = input.keys.back || pad.keys.back;
    input.keys.left = input.keys.left || pad.keys.left;
    input.keys.right = input.keys.right || pad.keys.right;
    pads.look.x += pad.look.x;
    pads.look.y += pad.look.y;
    for (int i = 0; i < pad.releases.keyReleaseCount; ++i)
        input.events.release(pad.releases.keyReleases[i]);
}

}  // namespace

FrameInput readFrameInput(App& app)
{
    GLFWwindow* window = app.window;
    FrameInput input;
    input.events = std::exchange(app.pendingEvents, WindowEvents{});
    input.clock = glfwGetTime();
    input.keys.forward = isHeld(window, GLFW_KEY_W);
    input.keys.back = isHeld(window, GLFW_KEY_S);
    input.keys.left = isHeld(window, GLFW_KEY_A);
    input.keys.right = isHeld(window, GLFW_KEY_D);
    input.keys.up = isHeld(window, GLFW_KEY_SPACE);
    input.keys.down = isHeld(window, GLFW_KEY_LEFT_SHIFT);
    glfwGetCursorPos(window, &input.cursor.x, &input.cursor.y);
    glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
    addGamepad(app, input);
    input.cursor.x += app.gamepads.look.x;
    input.cursor.y += app.gamepads.look.y;
    return input;
}

FrameInput replayedInput(const ReplayFrame& recorded, const FrameInput& live, double clock)
{
    FrameInput input;
    input.clock = clock;
    input.timeStep = recorded.timeStep;
    input.keys = recorded.keys;
    input.cursor = recorded.cursor;
    input.framebufferWidth = live.framebufferWidth;
    input.framebufferHeight = live.framebufferHeight;
    for (int i = 0; i < live.events.keyReleaseCount; ++i) {
        const int key = live.events.keyReleases[i];
        if (key == GLFW_KEY_ESCAPE || key == GLFW_KEY_F3)
            input.events.release(key);
    }
    for (int i = 0; i < recorded.events.keyReleaseCount; ++i)
        input.events.release(recorded.events.keyReleases[i]);
    input.events.clicked = recorded.events.clicked;
    input.events.focusLost = recorded.events.focusLost;
    return input;
}

namespace {

// Counts the run's end into the course's kept results, after the game's own
// lines. Returns whether the run set a new best time.
bool countResults(App& app, ResultsFile& file, const CourseId& course, RunEnd end)
{
    ReportingStream news(Severity::information);
    ReportingStream warnings(Severity::warning);
    ResultsByCourse results = file.load(warnings);
    const bool newBest = countRun(results.of(course), end == RunEnd::won, app.simulation.runTime,
                                  app.simulation.state.fairyPower, todaysDate(), news);
    file.save(results, warnings);
    return newBest;
}

// A won run that beats the best time becomes the ghost, kept for later runs
// and racing from the next restart on.
void keepGhost(App& app, RunOptions& run, bool newBestResult)
{
    const bool best = run.results ? newBestResult : !app.ghost || app.simulation.runTime < app.ghost->bestTime();
    const Replay* take = run.ghostTake->replay();
    if (!best || !take)
        return;
    ReportingStream warnings(Severity::warning);
    saveGhost(run.ghostPath, *take, warnings);
    app.ghost.emplace(*take, app.course);
}

}  // namespace

void runFrameLoop(App& app, RunOptions& run)
{
    app.lastFrameTime = glfwGetTime();
    const double started = app.lastFrameTime;
    double replayClock = started;
    std::size_t nextReplayFrame = 0;
    std::optional<double> endScreenUntil;  // while the result stays on the screen
    ReportingStream gameEvents(Severity::information);
    while (!glfwWindowShouldClose(app.window)) {
        glfwPollEvents();
        FrameInput input = readFrameInput(app);
        // A replay with the menus hears the live Escape as a wish to stop watching.
        if (run.replay && app.playerMode && input.events.released(GLFW_KEY_ESCAPE))
            glfwSetWindowShouldClose(app.window, GLFW_TRUE);
        if (run.replay && nextReplayFrame < run.replay->frames.size()) {
            const ReplayFrame& recorded = run.replay->frames[nextReplayFrame++];
            replayClock += recorded.timeStep;
            input = replayedInput(recorded, input, replayClock);
            // At the recorded pace, unless asked to go as fast as frames are drawn.
            while (!run.replayAsFastAsDrawn && glfwGetTime() < replayClock && !glfwWindowShouldClose(app.window))
                glfwWaitEventsTimeout(replayClock - glfwGetTime());
        } else if (run.replay && !endScreenUntil) {
            break;  // the recording ends here
        } else if (run.replay) {
            // The end screen outlasts the recording: a still frame, and the live Escape and F3.
            ReplayFrame still;
            still.cursor = app.simulation.lastCursor;
            input = replayedInput(still, input, replayClock);
        }
        const RunBeforeFrame before{app.switches.paused, app.runEnd != RunEnd::none, app.simulation.runTime,
                                    app.simulation.lastCursor};
        const SimulationStep step = runFrame(app, input, gameEvents);
        if (step.menu.request == MenuRequest::courseChanged && takeSelectedCourse(app, run, gameEvents)) {
            // The level's GL objects are made now, once, for the course picked.
            app.level = buildLevel(app.course, app.renderTargets.width(), app.renderTargets.height());
            addGhost(*app.level);
        }
        if (run.sound && step.menu.request == MenuRequest::optionChanged)
            run.sound->setVolumes(app.settings.audio);
        // The frame as the rules left it; a replay faster than real time stays silent.
        if (run.sound)
            run.sound->update(soundFrame(app.simulation, app.runEnd, app.switches.paused, step.timeStep,
                                         run.replay && run.replayAsFastAsDrawn));
        const ReplayFrame played{step.timeStep, input.keys, input.cursor, input.framebufferWidth,
                                 input.framebufferHeight, input.events};
        if (run.recorder)
            run.recorder->writeFrame(played);
        if (run.ghostTake)
            run.ghostTake->add(played, before, app.simulation, app.switches.paused);
        if (step.end != RunEnd::none) {
            const bool newBest = run.results && countResults(app, *run.results, run.course, step.end);
            if (run.ghostTake && step.end == RunEnd::won)
                keepGhost(app, run, newBest);
            if (app.playerMode) {
                // The result screen stays until the player chooses; it shows the best time as kept.
                if (run.results)
                    app.menu.bestTime = keptBestTime(&*run.results, run.course);
            } else if (app.settings.window.endScreenSeconds > 0.0) {
                endScreenUntil = glfwGetTime() + app.settings.window.endScreenSeconds;
            } else {
                glfwSetWindowShouldClose(app.window, GLFW_TRUE);
            }
        }
        if (app.runEnd == RunEnd::none)
            endScreenUntil.reset();  // restarted from the end screen
        else if (endScreenUntil && glfwGetTime() >= *endScreenUntil)
            glfwSetWindowShouldClose(app.window, GLFW_TRUE);
        glfwSwapBuffers(app.window);
    }
}
