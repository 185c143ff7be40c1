// What sound needs to know of a frame: the rules' state after it, where the
// camera listens from, and whether the run stands still. Plain data, so the
// mixing can be tested without a device.
#pragma once

#include "game/simulation.h"

#include <glm/vec3.hpp>

#include <cstdint>
#include <vector>

struct Listener {
    glm::vec3 position{0.0f};
    glm::vec3 front{0.0f, 0.0f, -1.0f};
    glm::vec3 up{0.0f, 1.0f, 0.0f};
};

struct SoundFrame {
    float timeStep = 0.0f;  // seconds this frame stepped
    bool paused = false;    // the player paused the run
    bool silent = false;    // a replay played faster than real time: no sound at all
    std::uint64_t ringsPassed = 0;  // bit i: ring i is passed
    const std::vector<glm::vec3>* ringCentres = nullptr;  // the course's, where each chime sounds
    float power = 100.0f;
    float fullPower = 100.0f;  // the course's full store
    bool falling = false;
    RunEnd end = RunEnd::none;
    double runTime = 0.0;  // seconds of play; going back means a new run
    glm::vec3 fairy{0.0f, 0.5f, 0.0f};
    Listener listener;
};

// The frame as the rules left it, heard from the camera of its view.
SoundFrame soundFrame(const Simulation& simulation, RunEnd end, bool paused, float timeStep, bool silent);
