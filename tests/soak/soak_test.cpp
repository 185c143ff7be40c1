// A soak of the whole game: scripted play that presses every shortcut key,
// switches cameras, goes in and out of fullscreen, resizes the window and
// flies, round after round for GLIMMERDEEP_SOAK_SECONDS of wall-clock time
// (20 by default). After every round the live GL objects must be those
// before the first, and the live heap (in sanitizer builds) must stop
// growing once the first third of the rounds has warmed the caches.
//
// The fairy's power is topped up after every frame, passed rings hang again
// and a fairy that climbed halfway is put back at the bottom, so the run
// never ends; everything else reaches the game as a player's input would.
#include "support/game_fixture.h"
#include "support/gl_object_census.h"

#include "app/callbacks.h"
#include "game/course.h"
#include "game/flight.h"
#include "game/rings.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface, which GCC ships no header for.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr int minimumRounds = 9;  // three thirds of three samples each
constexpr long heapAllowanceBytes = 512L * 1024;
constexpr float highestFairy = 12.0f;  // the finish is at 22.26

double soakSeconds()
{
    const char* text = std::getenv("GLIMMERDEEP_SOAK_SECONDS");
    const double seconds = text ? std::strtod(text, nullptr) : 0.0;
    return seconds > 0.0 ? seconds : 20.0;
}

long liveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return 0;
#endif
}

// How much the median grew from the middle third of the samples to the last.
long growthAfterWarmUp(std::vector<long> samples)
{
    const auto third = static_cast<std::ptrdiff_t>(samples.size() / 3);
    const auto median = [](std::vector<long>::iterator first, std::vector<long>::iterator last) {
        std::sort(first, last);
        return *(first + (last - first) / 2);
    };
    const long middle = median(samples.begin() + third, samples.begin() + 2 * third);
    return median(samples.begin() + 2 * third, samples.end()) - middle;
}

HeldKeys held(bool forward, bool left, bool up = false)
{
    return HeldKeys{forward, false, left, !left, up, false};
}

class Soak : public GameFixture {
protected:
    Soak()
    {
        windowWidth = 160;
        windowHeight = 120;
    }

    void SetUp() override
    {
        GameFixture::SetUp();
        if (HasFatalFailure())
            return;
        // As the game's start-up does; fullscreen maps the window anyway.
        glfwSetFramebufferSizeCallback(window, onFramebufferSize);
        glfwShowWindow(window);
        ASSERT_TRUE(waitForFramebuffer(windowWidth, windowHeight));
    }

    // Polls events until GLFW reports this framebuffer size and the callback
    // has made the render targets for it.
    bool waitForFramebuffer(int width, int height)
    {
        for (int attempt = 0; attempt < 400; ++attempt) {
            glfwPollEvents();
            int actualWidth = 0, actualHeight = 0;
            glfwGetFramebufferSize(window, &actualWidth, &actualHeight);
            if (actualWidth == width && actualHeight == height && app.renderTargets.width() == width &&
                app.renderTargets.height() == height)
                return true;
            glfwWaitEventsTimeout(0.005);
        }
        return false;
    }

    // Frames as the game's loop runs them, the cursor circling so both
    // cameras keep turning without running away.
    void play(int count, const HeldKeys& keys = {})
    {
        for (int i = 0; i < count; ++i) {
            glfwPollEvents();
            clock += 1.0 / 60.0;
            const double phase = ++frames * 0.05;
            FrameInput input;
            input.events = std::exchange(app.pendingEvents, WindowEvents{});
            input.clock = clock;
            input.keys = keys;
            input.cursor = CursorPosition{300.0 * std::cos(phase), 150.0 * std::sin(1.3 * phase)};
            glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
            EXPECT_EQ(runFrame(app, input, console).end, RunEnd::none) << console.str();
            glfwSwapBuffers(window);
            GameState& state = app.simulation.state;
            state.fairyPower = app.simulation.course.fullPower;
            state.falling = false;
            if (state.fairyPosition.y > highestFairy)
                state.fairyPosition = glm::vec3(0.0f, floorHeight, 0.0f);
            std::fill(state.ringPassed.begin(), state.ringPassed.end(), false);
        }
    }

    // What GLFW delivers for one held keystroke: press, auto-repeat, release.
    void type(int key)
    {
        onKey(window, key, 0, GLFW_PRESS, 0);
        onKey(window, key, 0, GLFW_REPEAT, 0);
        onKey(window, key, 0, GLFW_RELEASE, 0);
    }

    void playRound()
    {
        // Every switch twice, so the round ends as it began; X is bound to nothing.
        for (int pass = 0; pass < 2; ++pass) {
            for (int key : {GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_N, GLFW_KEY_T, GLFW_KEY_F1, GLFW_KEY_F2,
                            GLFW_KEY_X}) {
                type(key);
                play(2, held(true, pass == 0));
            }
        }
        type(GLFW_KEY_ESCAPE);
        play(1);
        EXPECT_TRUE(glfwWindowShouldClose(window));
        glfwSetWindowShouldClose(window, GLFW_FALSE);

        type(GLFW_KEY_C);
        play(6, held(true, true, true));
        type(GLFW_KEY_C);
        play(6, held(true, false));

        const int ring = rounds % static_cast<int>(app.course.rings.size());
        app.simulation.state.fairyPosition = app.course.rings[static_cast<std::size_t>(ring)];
        play(1);
        EXPECT_NE(console.str().find("Passed ring " + std::to_string(ring + 1) + " "), std::string::npos);

        for (const auto& [width, height] : {std::pair{240, 180}, {97, 61}, {1, 1}, {windowWidth, windowHeight}}) {
            glfwSetWindowSize(window, width, height);
            EXPECT_TRUE(waitForFramebuffer(width, height)) << width << "x" << height;
            play(2, held(true, false));
        }
        type(GLFW_KEY_F3);
        play(1);
        const GLFWvidmode* mode = glfwGetVideoMode(glfwGetPrimaryMonitor());
        EXPECT_TRUE(app.switches.isFullscreen && waitForFramebuffer(mode->width, mode->height)) << "in fullscreen";
        play(1);
        type(GLFW_KEY_F3);
        play(1);
        EXPECT_TRUE(!app.switches.isFullscreen && waitForFramebuffer(windowWidth, windowHeight)) << "windowed";
        play(2);

        EXPECT_EQ(console.str().find(gameOverMessage), std::string::npos) << console.str();
        EXPECT_EQ(console.str().find(winMessage), std::string::npos) << console.str();
        console.str("");
        ++rounds;
    }

    int rounds = 0;
    int frames = 0;
};

}  // namespace

TEST_F(Soak, ScriptedPlayKeepsTheHeapAndTheGlObjectsFlat)
{
    // Render targets are made anew on every resize, and the driver may hand
    // out ever higher names: the census asks well beyond them.
    const auto census = [this] {
        return countLiveGlObjects(std::max<GLuint>(2048, app.renderTargets.pingpongTexture(1) + 1024));
    };
    const GlObjectCensus atStart = census();
    std::vector<long> heap;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    while (rounds < minimumRounds || elapsed() < soakSeconds()) {
        playRound();
        ASSERT_FALSE(HasFailure()) << "in round " << rounds;
        ASSERT_TRUE(debugMessages().empty()) << debugMessages().front();
        ASSERT_EQ(census(), atStart) << "live GL objects changed in round " << rounds;
        heap.push_back(liveHeapBytes());
    }
    std::printf("Soak of %.0f s: %d rounds, %d frames; live GL objects %d throughout; live heap %.2f MiB at the end\n",
                elapsed(), rounds, frames, atStart.total(), static_cast<double>(heap.back()) / (1024.0 * 1024.0));
    EXPECT_LE(growthAfterWarmUp(heap), heapAllowanceBytes) << "the live heap grew";
}
