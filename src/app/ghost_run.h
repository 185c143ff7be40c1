// The ghost: the course's best run played again beside the player's, from
// its replay. A second Simulation takes the replay's own frames, with their
// pauses (P) and camera switches (C) as the game took them, whenever the
// live run's clock has reached them, so it is always where the best run was
// after as much play, never ahead; past its last frame it stays where it
// ended. Nothing here draws.
#pragma once

#include "replay.h"
#include "game/simulation.h"

#include <glm/vec3.hpp>

class GhostRun {
public:
    GhostRun(Replay replay, Course course);

    // Takes the frames that keep the ghost's clock at or before `runTime`,
    // the live run's seconds of play. A clock that goes back (the live run
    // restarted) starts the ghost again from the beginning.
    void follow(double runTime);

    glm::vec3 position() const { return simulation_.state.fairyPosition; }
    // Seconds of play the ghost's whole run takes.
    double bestTime() const { return bestTime_; }

private:
    void startAgain();
    // One recorded frame, as the game's own step takes it.
    void take(const ReplayFrame& frame);

    Replay replay_;
    Course course_;
    Simulation simulation_;
    bool paused_ = false;
    bool ended_ = false;
    std::size_t next_ = 0;  // the next frame to take
    double bestTime_ = 0.0;
};
