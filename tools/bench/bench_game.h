// The game brought up the way main() brings it up, each phase timed on the
// way, then run frame by frame along the route: either exactly as the frame
// loop runs it (events, runFrame, swap), or with the frame's steps taken one
// by one so each group of passes can be timed.
#pragma once

#include "constant_scene.h"
#include "pass_timer.h"

#include "app/app.h"
#include "app/frame.h"

#include <cstdint>
#include <ostream>
#include <streambuf>

// Milliseconds of each start-up phase, in the order main() runs them.
struct StartupTimes {
    double settings = 0.0;     // loadSettings
    double window = 0.0;       // window, context, GLEW, targets, render state, framework
    double openWindow = 0.0;   // of which openMainWindow: GLFW, the window, its context, GLEW
    double buildLevel = 0.0;   // buildLevel as a whole
    double afterBuild = 0.0;   // cursor capture and the simulation
    double firstFrame = 0.0;   // runFrame and the swap that shows it
    std::int64_t firstFrameShownNs = 0;
    double secondFrame = 0.0;  // the next frame, after the first has compiled what it draws
};

// Pass groups of a frame, as PassTimer sections.
enum PassSection { scenePasses = 0, blurHorizontalPasses = 1, blurVerticalPasses = 2, compositePass = 3, hudPass = 4 };

// Swallows the game's event lines and counts their bytes, allocating nothing.
class CountingSink : public std::streambuf {
public:
    long long bytes = 0;

protected:
    int overflow(int character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
};

class BenchGame {
public:
    BenchGame(int width, int height);
    // Releases what the game owns in main()'s order, leaving GLFW up.
    ~BenchGame();
    BenchGame(const BenchGame&) = delete;
    BenchGame& operator=(const BenchGame&) = delete;

    // Settings, window, level and the first frame on screen.
    StartupTimes start();
    // Only the start-up steps before buildLevel: settings and window.
    StartupTimes openGameWindow();

    // One frame as the game loop runs it.
    void frame();
    // One frame with the same steps as runFrame, timed pass group by pass
    // group, then the swap; with `constantScene`, the scene draws with them.
    void timedFrame(PassTimer& timer, ConstantPrograms* constantScene = nullptr);

    App& app() { return app_; }
    // The vertex stage of each program the level built.
    const VertexSourceLog& programSources() const { return sources_; }
    int framesRun() const { return nextFrame_; }
    long long eventBytes() const { return sink_.bytes; }

private:
    FrameInput nextInput();

    App app_;
    VertexSourceLog sources_;
    CountingSink sink_;
    std::ostream console_;
    int width_;
    int height_;
    int nextFrame_ = 0;
    bool started_ = false;
};
