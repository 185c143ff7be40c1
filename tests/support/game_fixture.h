// The game without its frame loop: a hidden window, the level built as the
// game builds it, and frames run through runFrame with a scripted clock and
// input, so tests can look at what a frame drew and did.
#pragma once

#include "app/app.h"
#include "app/frame.h"
#include "support/gl_test_context.h"

#include <sstream>
#include <string>
#include <vector>

class GameFixture : public GlTest {
protected:
    GameFixture();
    void SetUp() override;
    void TearDown() override;

    // One frame at `clock` seconds with the cursor where it was.
    SimulationStep frame(double clock, const HeldKeys& keys = {}, FrameObserver* observer = nullptr);
    // Frames at a steady rate from the last clock value on.
    void frames(int count, double framesPerSecond = 60.0, const HeldKeys& keys = {});

    // The window's pixels as RGB rows, top row first.
    std::vector<unsigned char> screenshot() const;
    // Saves the window under the build tree's screenshots folder.
    void saveScreenshot(const std::string& name) const;
    // Mean colour (0..255) of a rectangle given in window pixels from the top left.
    glm::vec3 meanColor(int x, int y, int width, int height) const;

    App app;
    std::ostringstream console;
    double clock = 0.0;
};
