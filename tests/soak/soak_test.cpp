// A soak of the whole game: scripted play that presses every shortcut key,
// switches cameras, goes in and out of fullscreen, resizes the window and
// flies, round after round for GLIMMERDEEP_SOAK_SECONDS of wall-clock time
// (20 by default), while resident memory and the live GL objects must stay
// flat and no GL debug message may appear.
//
// Flat means: after every round the live GL objects of each kind are those
// before the first round. Memory is sampled once a round; the first third of
// the rounds is warm-up, and the median of the last third may exceed the
// median of the middle third by at most 8 MiB of resident memory and, in
// sanitizer builds, 512 KiB of live heap.
//
// The game would end after five seconds without rings: after every frame
// the fairy's power is topped up and its fall called off, the passed rings
// hang again, and a fairy that climbed halfway up the well is put back at
// the bottom, far from the finish. Once a round the fairy is set into a ring,
// so the ring report and the ring's disappearance run too. Nothing else of
// the game's state is touched: keys reach it through onKey, sizes through
// the real framebuffer-size callback, flight through held keys and cursor.
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
#include <iterator>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface, which GCC ships no header for.
extern "C" void __sanitizer_purge_allocator();
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

constexpr double defaultSoakSeconds = 20.0;
constexpr int minimumRounds = 9;  // three thirds of three samples each
// Allowed growth of the medians from the middle to the last third of the
// rounds. Resident memory moves with the allocator's fragmentation as the
// render targets come and go; the live heap is exact and nearly still.
constexpr long rssAllowanceBytes = 8L * 1024 * 1024;
constexpr long heapAllowanceBytes = 512L * 1024;
constexpr float framesPerSecond = 60.0f;
// Put back at the bottom above this height; the finish is at 22.26.
constexpr float highestFairy = 12.0f;

double soakSeconds()
{
    const char* text = std::getenv("GLIMMERDEEP_SOAK_SECONDS");
    if (!text)
        return defaultSoakSeconds;
    char* end = nullptr;
    const double seconds = std::strtod(text, &end);
    return end != text && seconds > 0.0 ? seconds : defaultSoakSeconds;
}

long residentBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory in its quarantine and free lists,
    // up to hundreds of MiB; without this the resident size says more about
    // what was freed lately than about what is alive.
    __sanitizer_purge_allocator();
#endif
    long pages = 0, resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

// Bytes the heap holds for the program and its libraries; 0 where no
// sanitizer allocator counts them.
long liveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long>(__sanitizer_get_current_allocated_bytes());
#else
    return 0;
#endif
}

long median(std::vector<long> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double mebibytes(long bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// One sample per round. The first third of the rounds is warm-up (driver
// caches, allocator pools); the middle and the last third are compared.
struct Growth {
    long first = 0;
    long middleMedian = 0;
    long lastMedian = 0;
    long last = 0;
};

Growth growthAfterWarmUp(const std::vector<long>& samples)
{
    const std::size_t third = samples.size() / 3;
    Growth growth;
    growth.first = samples.front();
    growth.middleMedian = median(std::vector<long>(samples.begin() + third, samples.begin() + 2 * third));
    growth.lastMedian = median(std::vector<long>(samples.begin() + 2 * third, samples.end()));
    growth.last = samples.back();
    return growth;
}

std::string describe(const Growth& growth)
{
    char text[160];
    std::snprintf(text, sizeof text,
                  "first %.2f, middle-third median %.2f, last-third median %.2f, last %.2f",
                  mebibytes(growth.first), mebibytes(growth.middleMedian), mebibytes(growth.lastMedian),
                  mebibytes(growth.last));
    return text;
}

HeldKeys held(bool forward, bool back, bool left, bool right, bool up = false, bool down = false)
{
    HeldKeys keys;
    keys.forward = forward;
    keys.back = back;
    keys.left = left;
    keys.right = right;
    keys.up = up;
    keys.down = down;
    return keys;
}

struct SoakCounts {
    int rounds = 0;
    int frames = 0;
    int keyReleases = 0;
    int resizes = 0;
    int fullscreenSwitches = 0;
    int ringsPassed = 0;
};

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

    // Polls events until GLFW reports this framebuffer size and the
    // callback has re-created the render targets for it.
    testing::AssertionResult waitForFramebuffer(int width, int height)
    {
        int actualWidth = 0, actualHeight = 0;
        for (int attempt = 0; attempt < 400; ++attempt) {
            glfwPollEvents();
            glfwGetFramebufferSize(window, &actualWidth, &actualHeight);
            if (actualWidth == width && actualHeight == height && app.renderTargets.width() == width &&
                app.renderTargets.height() == height)
                return testing::AssertionSuccess();
            glfwWaitEventsTimeout(0.005);
        }
        return testing::AssertionFailure()
               << "wanted a " << width << "x" << height << " framebuffer, have " << actualWidth << "x"
               << actualHeight << " with render targets of " << app.renderTargets.width() << "x"
               << app.renderTargets.height();
    }

    // One frame as the game's loop runs it: events, the frame, the swap.
    void playFrame(const HeldKeys& keys)
    {
        glfwPollEvents();
        clock += 1.0f / framesPerSecond;
        // The cursor circles, so both cameras keep turning without running away.
        const double phase = static_cast<double>(counts.frames) * 0.05;
        FrameInput input;
        input.clock = clock;
        input.keys = keys;
        input.cursor = CursorPosition{300.0 * std::cos(phase), 150.0 * std::sin(1.3 * phase)};
        glfwGetFramebufferSize(window, &input.framebufferWidth, &input.framebufferHeight);
        const FrameResult result = runFrame(app, input, console);
        glfwSwapBuffers(window);
        ++counts.frames;
        EXPECT_FALSE(result.closeRequested) << "the game ended: " << console.str();
        keepTheGameGoing();
    }

    void playFrames(int count, const HeldKeys& keys = {})
    {
        for (int i = 0; i < count; ++i)
            playFrame(keys);
    }

    void keepTheGameGoing()
    {
        GameState& state = app.simulation.state;
        state.fairyPower = maxFairyPower;
        state.falling = false;
        if (state.fairyPosition.y > highestFairy)
            state.fairyPosition = glm::vec3(0.0f, floorHeight, 0.0f);
        if (state.totalPassed > 0) {
            counts.ringsPassed += state.totalPassed;
            state.totalPassed = 0;
            std::fill(state.ringPassed.begin(), state.ringPassed.end(), false);
        }
    }

    // What GLFW delivers for one held keystroke: press, auto-repeat, release.
    void typeKey(int key)
    {
        onKey(window, key, 0, GLFW_PRESS, 0);
        onKey(window, key, 0, GLFW_REPEAT, 0);
        onKey(window, key, 0, GLFW_RELEASE, 0);
        ++counts.keyReleases;
    }

    // Every switch twice, with flight in between, so the round ends as it
    // began; X is bound to nothing. C and F3 have steps of their own.
    void pressEveryShortcut()
    {
        const int keys[] = {GLFW_KEY_1, GLFW_KEY_2, GLFW_KEY_3, GLFW_KEY_N,
                            GLFW_KEY_T, GLFW_KEY_F1, GLFW_KEY_F2, GLFW_KEY_X};
        for (int pass = 0; pass < 2; ++pass) {
            for (int key : keys) {
                typeKey(key);
                playFrames(2, held(true, false, pass == 0, pass == 1));
            }
        }
        typeKey(GLFW_KEY_ESCAPE);
        EXPECT_TRUE(glfwWindowShouldClose(window)) << "Escape asks the window to close";
        glfwSetWindowShouldClose(window, GLFW_FALSE);
    }

    void flyBothCameras()
    {
        playFrames(6, held(true, false, false, false));
        playFrames(4, held(true, false, true, false));
        playFrames(4, held(false, true, false, true));
        typeKey(GLFW_KEY_C);
        EXPECT_TRUE(app.switches.freeCameraMode);
        playFrames(4, held(true, false, false, false, true, false));
        playFrames(4, held(false, true, true, false, false, true));
        typeKey(GLFW_KEY_C);
        EXPECT_FALSE(app.switches.freeCameraMode);
        playFrames(4, held(false, false, false, true));
    }

    void passARing()
    {
        const int ring = counts.rounds % static_cast<int>(ringCount);
        app.simulation.state.fairyPosition = ringPositions[ring];
        playFrame({});
        EXPECT_NE(console.str().find("Passed ring " + std::to_string(ring + 1) + " "), std::string::npos)
            << console.str();
    }

    void resizeThroughSizes()
    {
        const std::pair<int, int> sizes[] = {
            {240, 180}, {97, 61}, {1, 1}, {320, 200}, {windowWidth, windowHeight}};
        for (const auto& [width, height] : sizes) {
            glfwSetWindowSize(window, width, height);
            ++counts.resizes;
            EXPECT_TRUE(waitForFramebuffer(width, height)) << "after resizing";
            playFrames(2, held(true, false, false, false));
        }
    }

    void switchFullscreenTwice()
    {
        typeKey(GLFW_KEY_F3);
        ++counts.fullscreenSwitches;
        ASSERT_TRUE(app.switches.isFullscreen);
        GLFWmonitor* monitor = glfwGetWindowMonitor(window);
        ASSERT_NE(monitor, nullptr) << "F3 put the window on no monitor";
        const GLFWvidmode* mode = glfwGetVideoMode(monitor);
        ASSERT_NE(mode, nullptr);
        EXPECT_TRUE(waitForFramebuffer(mode->width, mode->height)) << "in fullscreen";
        playFrame(held(true, false, false, false));

        typeKey(GLFW_KEY_F3);
        ++counts.fullscreenSwitches;
        EXPECT_FALSE(app.switches.isFullscreen);
        EXPECT_EQ(glfwGetWindowMonitor(window), nullptr);
        EXPECT_TRUE(waitForFramebuffer(windowWidth, windowHeight)) << "back in a window";
        playFrames(2);
    }

    void playRound()
    {
        pressEveryShortcut();
        flyBothCameras();
        passARing();
        resizeThroughSizes();
        switchFullscreenTwice();
        // The console has the ring reports; a win or a loss would be wrong.
        EXPECT_EQ(console.str().find(gameOverMessage), std::string::npos) << console.str();
        EXPECT_EQ(console.str().find(winMessage), std::string::npos) << console.str();
        console.str("");
        ++counts.rounds;
    }

    // The highest GL name to ask about: render targets are made anew on
    // every resize, and the driver may hand out ever higher names.
    GLuint censusBound() const
    {
        const RenderTargets& targets = app.renderTargets;
        const GLuint names[] = {targets.sceneFramebuffer(), targets.sceneColorTexture(), targets.brightColorTexture(),
                                targets.pingpongFramebuffer(1), targets.pingpongTexture(1)};
        const GLuint highest = *std::max_element(std::begin(names), std::end(names));
        return std::max<GLuint>(2048, highest + 1024);
    }

    SoakCounts counts;
};

}  // namespace

TEST_F(Soak, ScriptedPlayKeepsMemoryAndGlObjectsFlat)
{
    const double seconds = soakSeconds();
    const GlObjectCensus atStart = countLiveGlObjects(censusBound());
    std::vector<long> rss, heap;
    std::vector<int> liveObjects;
    const auto start = std::chrono::steady_clock::now();
    const auto elapsed = [&start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    while (counts.rounds < minimumRounds || elapsed() < seconds) {
        playRound();
        ASSERT_FALSE(HasFailure()) << "in round " << counts.rounds;
        ASSERT_TRUE(debugMessages().empty()) << debugMessages().front();
        const GlObjectCensus census = countLiveGlObjects(censusBound());
        ASSERT_TRUE(census == atStart) << "live GL objects went from " << atStart.total() << " to "
                                       << census.total() << " in round " << counts.rounds;
        liveObjects.push_back(census.total());
        rss.push_back(residentBytes());
        heap.push_back(liveHeapBytes());
    }

    const Growth rssGrowth = growthAfterWarmUp(rss);
    const Growth heapGrowth = growthAfterWarmUp(heap);
    std::printf("Soak of %.0f s: %d rounds, %d frames, %d key releases, %d resizes, %d fullscreen switches, "
                "%d rings passed\n",
                elapsed(), counts.rounds, counts.frames, counts.keyReleases, counts.resizes,
                counts.fullscreenSwitches, counts.ringsPassed);
    std::printf("Resident memory (MiB): %s\n", describe(rssGrowth).c_str());
    std::printf("Live heap (MiB): %s\n", describe(heapGrowth).c_str());
    std::printf("Live GL objects: first %d, last %d\n", liveObjects.front(), liveObjects.back());
    EXPECT_LE(rssGrowth.lastMedian - rssGrowth.middleMedian, rssAllowanceBytes) << "resident memory grew";
    EXPECT_LE(heapGrowth.lastMedian - heapGrowth.middleMedian, heapAllowanceBytes) << "the live heap grew";
}
