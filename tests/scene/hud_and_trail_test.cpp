// The HUD's pixels and the trail's draw, each from its renderer on a real
// GL context.
#include "scene/hud_renderer.h"
#include "scene/particle_renderer.h"

#include "game/particle_pool.h"
#include "gl_calls.h"
#include "support/gl_test_context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// Over black: the background at 80%, the fill (0.4, 0.8, 1.0) at 90% over it.
const std::vector<int> background{41, 41, 41};
const std::vector<int> fill{96, 188, 234};
const std::vector<int> red{255, 0, 0};
const std::vector<int> black{0, 0, 0};

class HudTest : public GlTest {
protected:
    HudTest()
    {
        windowWidth = 320;
        windowHeight = 120;
    }

    // The window after the HUD is drawn over black at `power`, as RGB.
    void drawOverBlack(int width, int height, float power)
    {
        glViewport(0, 0, width, height);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        testing::internal::CaptureStdout();
        HudRenderer hud;
        testing::internal::GetCapturedStdout();
        hud.draw(width, height, power);
    }

    // Whether the pixel at (x, y) from the bottom left shows `color`.
    bool shows(int x, int y, const std::vector<int>& color) const
    {
        const std::vector<unsigned char> pixel = readPixels(x, y, 1, 1);
        for (int c = 0; c < 3; ++c) {
            if (std::abs(pixel[c] - color[c]) > 2)
                return false;
        }
        return true;
    }
};

}  // namespace

// At full power the fill covers exactly the 200 by 20 bar, centred, 30
// pixels above the bottom; at no power only the background shows; the heart
// sits in the bottom-left corner.
TEST_F(HudTest, TheBarShowsThePowerCentredAboveTheBottomAndTheHeartSitsBottomLeft)
{
    drawOverBlack(320, 120, 100.0f);
    EXPECT_TRUE(shows(60, 30, fill));
    EXPECT_TRUE(shows(259, 49, fill));
    EXPECT_TRUE(shows(59, 40, black));
    EXPECT_TRUE(shows(260, 40, black));
    EXPECT_TRUE(shows(160, 50, black));
    EXPECT_TRUE(shows(160, 29, black));
    EXPECT_TRUE(shows(20, 50, red));
    EXPECT_TRUE(shows(30, 25, red));
    EXPECT_TRUE(shows(30, 62, black));

    drawOverBlack(320, 120, 25.0f);
    EXPECT_TRUE(shows(100, 40, fill));
    EXPECT_TRUE(shows(120, 40, background));
    drawOverBlack(320, 120, 0.0f);
    EXPECT_TRUE(shows(61, 40, background));
}

// Narrower than the bar: it is cut on both sides and still centred.
TEST_F(HudTest, ANarrowWindowCutsTheBarOnBothSides)
{
    drawOverBlack(100, 120, 100.0f);
    EXPECT_TRUE(shows(0, 40, fill));
    EXPECT_TRUE(shows(99, 40, fill));
    drawOverBlack(0, 0, 100.0f);  // a minimised window gets nothing, and no GL error
}

namespace {

class TrailTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        testing::internal::CaptureStdout();
        renderer.emplace(8);
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override
    {
        renderer.reset();
        GlTest::TearDown();
    }

    std::optional<ParticleRenderer> renderer;
    const glm::mat4 view = glm::lookAt(glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 viewProjection = glm::perspective(1.0f, 1.0f, 0.1f, 10.0f) * view;
};

}  // namespace

// The live sparks go up (32 bytes each) and are drawn in one instanced call,
// blended and without depth writes; blending is off and depth writes on
// afterwards. With none alive the renderer makes no GL call at all.
TEST_F(TrailTest, OneInstancedDrawOfTheLiveSparksAndNothingWithoutThem)
{
    ParticlePool pool(8, 60.0f, 1u);
    {
        GlCallRecorder recorder;
        renderer->draw(pool, view, viewProjection);
        EXPECT_EQ(recorder.counts().calls, 0);
    }
    pool.step(0.05f, glm::vec3(0.0f));
    ASSERT_EQ(pool.aliveCount(), 3u);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GlCallRecorder recorder;
    renderer->draw(pool, view, viewProjection);
    EXPECT_EQ(recorder.counts().drawCalls, 1);
    EXPECT_EQ(recorder.callsTo("glDrawArraysInstanced"), 1);
    EXPECT_EQ(recorder.counts().bytesUploaded, 3 * 32);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLboolean depthWrites = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthWrites);
    EXPECT_TRUE(depthWrites);
    const std::vector<unsigned char> centre = readPixels(24, 24, 16, 16);
    EXPECT_TRUE(std::any_of(centre.begin(), centre.end(), [](unsigned char v) { return v > 100; }))
        << "the sparks near the middle are drawn";
}
