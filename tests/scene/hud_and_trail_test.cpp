// The HUD's pixels and the trail's draw, each from its renderer on a real
// GL context.
#include "scene/hud_renderer.h"
#include "scene/particle_renderer.h"

#include "framework/console.h"
#include "game/particle_pool.h"
#include "gl_calls.h"
#include "support/gl_test_context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cstdlib>

namespace {

// Over grey (102): the black background at 80%, the fill (0.4, 0.8, 1.0) at
// 90% over it.
const std::vector<int> grey{102, 102, 102};
const std::vector<int> background{61, 61, 61};
const std::vector<int> fill{98, 190, 236};
const std::vector<int> red{255, 0, 0};

class HudTest : public GlTest {
protected:
    HudTest()
    {
        windowWidth = 320;
        windowHeight = 240;
    }

    // The window after the HUD is drawn over grey at `power`.
    void drawOverGrey(int width, int height, float power)
    {
        glViewport(0, 0, width, height);
        glClearColor(0.4f, 0.4f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const CapturedConsole quiet;
        HudRenderer hud;
        hud.draw(width, height, power / 100.0f);  // of the classic course's full 100
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
// sits in the bottom-left corner. The HUD blends over what is there.
TEST_F(HudTest, TheBarShowsThePowerCentredAboveTheBottomAndTheHeartSitsBottomLeft)
{
    drawOverGrey(320, 240, 100.0f);
    EXPECT_TRUE(shows(60, 30, fill));
    EXPECT_TRUE(shows(259, 49, fill));
    EXPECT_TRUE(shows(59, 40, grey));
    EXPECT_TRUE(shows(260, 40, grey));
    EXPECT_TRUE(shows(160, 50, grey));
    EXPECT_TRUE(shows(160, 29, grey));
    EXPECT_TRUE(shows(20, 50, red));
    EXPECT_TRUE(shows(30, 25, red));
    EXPECT_TRUE(shows(30, 62, grey));

    drawOverGrey(320, 240, 25.0f);
    EXPECT_TRUE(shows(100, 40, fill));
    EXPECT_TRUE(shows(120, 40, background));
    drawOverGrey(320, 240, 0.0f);
    EXPECT_TRUE(shows(61, 40, background));

    // The smallest window gets both at half size, the sky between them and
    // beside the bar; a minimised window gets nothing, and no GL error.
    drawOverGrey(160, 120, 100.0f);
    EXPECT_TRUE(shows(10, 25, red));
    EXPECT_TRUE(shows(27, 20, grey));
    EXPECT_TRUE(shows(31, 16, fill));
    EXPECT_TRUE(shows(128, 24, fill));
    EXPECT_TRUE(shows(132, 20, grey));
    EXPECT_TRUE(shows(80, 27, grey));
    drawOverGrey(0, 0, 100.0f);
}

using TrailTest = GlTest;

// The live sparks go up (32 bytes each) and are drawn in one instanced call,
// blended and without depth writes; blending is off and depth writes on
// afterwards. With none alive the renderer makes no GL call at all.
TEST_F(TrailTest, OneInstancedDrawOfTheLiveSparksAndNothingWithoutThem)
{
    const CapturedConsole quiet;
    ParticleRenderer renderer(8);
    const glm::mat4 view = glm::lookAt(glm::vec3(0.0f, 0.0f, 1.0f), glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 viewProjection = glm::perspective(1.0f, 1.0f, 0.1f, 10.0f) * view;
    ParticlePool pool(8, 60.0f, 1u);
    {
        GlCallRecorder recorder;
        renderer.draw(pool, view, viewProjection);
        EXPECT_EQ(recorder.counts().calls, 0);
    }
    pool.step(0.05f, glm::vec3(0.0f));
    ASSERT_EQ(pool.aliveCount(), 3u);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    GlCallRecorder recorder;
    renderer.draw(pool, view, viewProjection);
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
