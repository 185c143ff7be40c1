// Everything the running game owns: window, settings, switches and the
// frame-to-frame values. The window's user pointer points here, so the GLFW
// callbacks reach the same state the frame reads.
#pragma once

#include "gamepad.h"
#include "ghost_run.h"
#include "settings.h"
#include "switches.h"
#include "window_events.h"
#include "game/hud_layout.h"
#include "game/input.h"
#include "game/menu.h"
#include "game/particle_pool.h"
#include "game/simulation.h"
#include "scene/level.h"
#include "scene/render_targets.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct GLFWwindow;

struct App {
    GLFWwindow* window = nullptr;
    Settings settings;
    Course course;  // the course flown; every new run starts on it
    bool playerMode = false;  // --menu: title screen, menus, result screen
    Menu menu;                // the screen showing in player mode
    std::vector<std::string> coursePaths;  // the files of menu.courses; "" for the course built in
    MenuScreen menuLastFrame = MenuScreen::none;  // the screen at the previous frame's start
    int menuSteadyFrames = 0;  // frames since that changed: a freed cursor jumps in the first ones
    bool saveOptions = true;   // false for a replay: its options change its own run only
    Switches switches;
    CursorPosition startCursor;  // read once right after the cursor is captured
    Simulation simulation;       // made from the camera settings once the cursor is known
    RunEnd runEnd = RunEnd::none;  // how the run ended; from then on it stands still
    HudMessage hudMessage;        // the HUD's message of the moment
    ParticlePool particles{trailParticleSlots, trailSpawnRate, 0};  // seeded at start-up
    RenderTargets renderTargets;  // re-created whenever the framebuffer size changes
    std::unique_ptr<Level> level;
    double lastFrameTime = 0.0;  // clock value at the top of the previous frame
    WindowEvents pendingEvents;  // collected by the callbacks for the next frame
    bool hadFocus = false;       // only a window that had the focus can lose it
    Gamepads gamepads;
    std::optional<GhostRun> ghost;  // player mode: the course's best run, following the live run's clock
};

// The switches as the settings start them.
Switches initialSwitches(const Settings& settings);
