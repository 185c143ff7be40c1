// What a steady frame costs in allocations and GL objects: nothing.
#include "support/allocation_counter.h"
#include "support/game_fixture.h"
#include "support/gl_object_census.h"

#include "app/startup.h"

#include <utility>

namespace {

// Counts calls to the GL object generators that GLEW loads.
struct GeneratorCounter {
    static inline int calls = 0;
    static inline PFNGLGENBUFFERSPROC realBuffers = nullptr;
    static inline PFNGLGENVERTEXARRAYSPROC realVertexArrays = nullptr;
    static inline PFNGLGENFRAMEBUFFERSPROC realFramebuffers = nullptr;
    static inline PFNGLGENRENDERBUFFERSPROC realRenderbuffers = nullptr;

    GeneratorCounter()
    {
        calls = 0;
        realBuffers = std::exchange(__glewGenBuffers, genBuffers);
        realVertexArrays = std::exchange(__glewGenVertexArrays, genVertexArrays);
        realFramebuffers = std::exchange(__glewGenFramebuffers, genFramebuffers);
        realRenderbuffers = std::exchange(__glewGenRenderbuffers, genRenderbuffers);
    }
    ~GeneratorCounter()
    {
        __glewGenBuffers = realBuffers;
        __glewGenVertexArrays = realVertexArrays;
        __glewGenFramebuffers = realFramebuffers;
        __glewGenRenderbuffers = realRenderbuffers;
    }
    static void GLAPIENTRY genBuffers(GLsizei n, GLuint* names) { ++calls; realBuffers(n, names); }
    static void GLAPIENTRY genVertexArrays(GLsizei n, GLuint* names) { ++calls; realVertexArrays(n, names); }
    static void GLAPIENTRY genFramebuffers(GLsizei n, GLuint* names) { ++calls; realFramebuffers(n, names); }
    static void GLAPIENTRY genRenderbuffers(GLsizei n, GLuint* names) { ++calls; realRenderbuffers(n, names); }
};

class SteadyFrame : public GameFixture {
protected:
    SteadyFrame()
    {
        // Cost per frame does not depend on the window size; keep it small.
        windowWidth = 96;
        windowHeight = 72;
    }
};

}  // namespace

TEST_F(SteadyFrame, HundredFramesCreateNoGlObjectAndAllocateNothing)
{
    frames(5);  // the first frames fill the uniform caches
    const GlObjectCensus before = countLiveGlObjects();
    GeneratorCounter generators;
    int allocations = 0;
    {
        AllocationCounter counter;
        frames(100);
        allocations = counter.count();
    }
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(GeneratorCounter::calls, 0);
    EXPECT_TRUE(countLiveGlObjects() == before);
    EXPECT_EQ(console.str(), "") << "no game event in these frames";
}

TEST_F(SteadyFrame, TogglesAndTheFreeCameraAllocateNothingEither)
{
    const auto playWithTheSwitches = [this] {
        for (int i = 0; i < 10; ++i) {
            app.switches.particlesEnabled = i % 2 == 0;
            app.switches.overlayEnabled = i % 3 == 0;
            app.switches.waterAnimationEnabled = i % 4 == 0;
            app.switches.freeCameraMode = i % 5 == 0;
            frames(2);
        }
    };
    // The first round lets the driver compile what each state needs.
    playWithTheSwitches();
    AllocationCounter counter;
    playWithTheSwitches();
    EXPECT_EQ(counter.count(), 0);
}

TEST_F(SteadyFrame, TearingTheGameDownLeavesNoGlObject)
{
    const GlObjectCensus empty = [] {
        GlObjectCensus none;
        return none;
    }();
    frames(3);
    EXPECT_GT(countLiveGlObjects().total(), 0);
    releaseRendering(app);
    EXPECT_TRUE(countLiveGlObjects() == empty) << "live objects: " << countLiveGlObjects().total();
}
