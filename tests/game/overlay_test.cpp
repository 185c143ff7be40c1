// The HUD on a real GL context, drawn into an off-screen target of chosen
// size with the frame's state (blending on, depth test off, depth cleared):
// where the bar and its fill land, how they blend, the heart, narrow and
// resized framebuffers, the state left behind and the release of the GL objects.
#include "game/overlay.h"

#include "framework/shader.h"
#include "support/gl_test_context.h"
#include "support/uniform_recorder.h"

#include <glm/ext/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the composite left in the window; exact in 8 bits.
const glm::vec4 sceneColor(1.0f, 1.0f, 0.0f, 1.0f);

using Rgb = glm::vec3;

// One RGBA8 blend of `source` over `below`, SRC_ALPHA / ONE_MINUS_SRC_ALPHA.
Rgb over(const glm::vec4& source, const Rgb& below)
{
    const Rgb blended = Rgb(source) * source.a + below * (1.0f - source.a);
    return glm::round(blended * 255.0f) / 255.0f;
}

const Rgb scene = Rgb(sceneColor);
const Rgb background = over(powerBarBackgroundColor, scene);
const Rgb filled = over(powerBarFillColor, background);
const Rgb red(1.0f, 0.0f, 0.0f);

// An RGBA8 colour target with a depth buffer, bound with its viewport.
class Target {
public:
    Target(int width, int height) : width(width), height(height)
    {
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(2, renderbuffers);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers[1]);
        complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
        glViewport(0, 0, width, height);
        // As the composite leaves the window.
        glClearColor(sceneColor.r, sceneColor.g, sceneColor.b, sceneColor.a);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
    }
    ~Target()
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(2, renderbuffers);
        glDeleteFramebuffers(1, &framebuffer);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    Rgb pixel(int x, int y) const
    {
        unsigned char rgba[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
        return Rgb(rgba[0], rgba[1], rgba[2]) / 255.0f;
    }

    int width;
    int height;
    bool complete = false;

private:
    GLuint framebuffer = 0;
    GLuint renderbuffers[2] = {};
};

testing::AssertionResult looksLike(const Rgb& actual, const Rgb& expected)
{
    const Rgb difference = glm::abs(actual - expected) * 255.0f;
    if (difference.r <= 2.0f && difference.g <= 2.0f && difference.b <= 2.0f)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "got (" << actual.r * 255 << ", " << actual.g * 255 << ", "
                                       << actual.b * 255 << "), want (" << expected.r * 255 << ", "
                                       << expected.g * 255 << ", " << expected.b * 255 << ")";
}

class OverlayTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        testing::internal::CaptureStdout();
        overlay = std::make_unique<Overlay>();
        loadLines = testing::internal::GetCapturedStdout();
        // The game keeps this blending on from start-up.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    void TearDown() override
    {
        overlay.reset();
        GlTest::TearDown();
    }

    std::unique_ptr<Overlay> overlay;
    std::string loadLines;
};

}  // namespace

TEST(OverlayLayout, HeartIsTwoClosedFansAndADownwardPoint)
{
    const auto heart = heartVertices();
    ASSERT_EQ(heart.size(), 47u);
    EXPECT_EQ(heart[0], glm::vec2(20.0f, 50.0f));
    EXPECT_EQ(heart[22], glm::vec2(40.0f, 50.0f));
    for (int fan = 0; fan < 2; ++fan) {
        const glm::vec2 centre = heart[22 * fan];
        for (int i = 1; i <= 21; ++i)
            EXPECT_NEAR(glm::distance(heart[22 * fan + i], centre), 10.0f, 1e-4f) << fan << " " << i;
        EXPECT_NEAR(heart[22 * fan + 1].x, centre.x + 10.0f, 1e-4f);
        EXPECT_NEAR(heart[22 * fan + 1].y, centre.y, 1e-4f);
        EXPECT_NEAR(heart[22 * fan + 6].y, centre.y + 10.0f, 1e-4f);  // a quarter turn on
        EXPECT_NEAR(glm::distance(heart[22 * fan + 21], heart[22 * fan + 1]), 0.0f, 1e-4f);
    }
    EXPECT_EQ(heart[44], glm::vec2(10.0f, 50.0f));
    EXPECT_EQ(heart[45], glm::vec2(50.0f, 50.0f));
    EXPECT_EQ(heart[46], glm::vec2(30.0f, 22.0f));
}

TEST(OverlayLayout, ProjectionMapsPixelsOntoClipSpace)
{
    const glm::mat4 projection = overlayProjection(800.0f, 600.0f);
    EXPECT_FLOAT_EQ(projection[0][0], 2.0f / 800.0f);
    EXPECT_FLOAT_EQ(projection[1][1], 2.0f / 600.0f);
    EXPECT_FLOAT_EQ(projection[2][2], -1.0f);
    EXPECT_EQ(projection[3], glm::vec4(-1.0f, -1.0f, 0.0f, 1.0f));
}

TEST(OverlayLayout, TheBarIsCentredAndItsFillGrowsFromTheLeftEdge)
{
    EXPECT_EQ(powerBarLeft(800.0f), 300.0f);
    EXPECT_EQ(powerBarLeft(150.0f), -25.0f);
    const glm::mat4 half = powerBarModel(300.0f, 50.0f);
    EXPECT_EQ(half * glm::vec4(0, 0, 0, 1), glm::vec4(300.0f, 30.0f, 0.0f, 1.0f));
    EXPECT_EQ(half * glm::vec4(1, 1, 0, 1), glm::vec4(400.0f, 50.0f, 0.0f, 1.0f));
    EXPECT_EQ(powerBarModel(300.0f, 0.0f) * glm::vec4(1, 1, 0, 1), glm::vec4(300.0f, 50.0f, 0.0f, 1.0f));
}

TEST_F(OverlayTest, LoadsTheUiProgramFromItsAssetFiles)
{
    EXPECT_NE(loadLines.find("Read shader: "), std::string::npos);
    EXPECT_NE(loadLines.find("assets/shaders/ui.vert"), std::string::npos);
    EXPECT_LT(loadLines.find("ui.vert"), loadLines.find("ui.frag"));
}

TEST_F(OverlayTest, FullPowerFillCoversExactlyTheBar)
{
    const Target target(400, 300);
    ASSERT_TRUE(target.complete);
    overlay->drawOverlay(400, 300, 100.0f);
    // x0 = 100: columns 100 to 299, rows 30 to 49.
    for (int x : {100, 150, 299}) {
        for (int y : {30, 40, 49})
            EXPECT_TRUE(looksLike(target.pixel(x, y), filled)) << x << ", " << y;
    }
    for (int y : {30, 49}) {
        EXPECT_TRUE(looksLike(target.pixel(99, y), scene)) << y;
        EXPECT_TRUE(looksLike(target.pixel(300, y), scene)) << y;
    }
    for (int x : {100, 299}) {
        EXPECT_TRUE(looksLike(target.pixel(x, 29), scene)) << x;
        EXPECT_TRUE(looksLike(target.pixel(x, 50), scene)) << x;
    }
}

TEST_F(OverlayTest, ZeroPowerShowsOnlyTheDarkBackground)
{
    const Target target(400, 300);
    overlay->drawOverlay(400, 300, 0.0f);
    for (int x : {100, 101, 200, 299})
        EXPECT_TRUE(looksLike(target.pixel(x, 40), background)) << x;
    EXPECT_TRUE(looksLike(target.pixel(99, 40), scene));
}

TEST_F(OverlayTest, HalfPowerFillsTheLeftHalf)
{
    const Target target(400, 300);
    overlay->drawOverlay(400, 300, 50.0f);
    EXPECT_TRUE(looksLike(target.pixel(100, 40), filled));
    EXPECT_TRUE(looksLike(target.pixel(199, 40), filled));
    EXPECT_TRUE(looksLike(target.pixel(200, 40), background));
    EXPECT_TRUE(looksLike(target.pixel(299, 40), background));
}

TEST_F(OverlayTest, TheRedHeartSitsInTheBottomLeftCorner)
{
    const Target target(400, 300);
    overlay->drawOverlay(400, 300, 100.0f);
    for (auto [x, y] : {std::pair{20, 50}, {40, 50}, {30, 25}, {30, 45}, {15, 55}, {45, 55}})
        EXPECT_TRUE(looksLike(target.pixel(x, y), red)) << x << ", " << y;
    for (auto [x, y] : {std::pair{30, 70}, {5, 50}, {55, 50}, {30, 18}, {12, 30}})
        EXPECT_TRUE(looksLike(target.pixel(x, y), scene)) << x << ", " << y;
}

TEST_F(OverlayTest, ANarrowFramebufferCutsTheBarAtBothSidesAndKeepsItCentred)
{
    const Target target(150, 100);
    overlay->drawOverlay(150, 100, 50.0f);
    // x0 = -25: the fill reaches column 74, the background the last column.
    EXPECT_TRUE(looksLike(target.pixel(0, 40), filled));
    EXPECT_TRUE(looksLike(target.pixel(74, 40), filled));
    EXPECT_TRUE(looksLike(target.pixel(75, 40), background));
    EXPECT_TRUE(looksLike(target.pixel(149, 40), background));
    EXPECT_TRUE(looksLike(target.pixel(20, 50), red));
}

TEST_F(OverlayTest, AfterAResizeTheBarIsStillCentredAndTheHeartStaysPut)
{
    {
        const Target target(400, 300);
        overlay->drawOverlay(400, 300, 100.0f);
        EXPECT_TRUE(looksLike(target.pixel(100, 40), filled));
    }
    const Target resized(300, 200);
    overlay->drawOverlay(300, 200, 100.0f);
    EXPECT_TRUE(looksLike(resized.pixel(49, 40), scene));
    EXPECT_TRUE(looksLike(resized.pixel(50, 40), filled));
    EXPECT_TRUE(looksLike(resized.pixel(249, 40), filled));
    EXPECT_TRUE(looksLike(resized.pixel(250, 40), scene));
    EXPECT_TRUE(looksLike(resized.pixel(20, 50), red));
    EXPECT_TRUE(looksLike(resized.pixel(30, 70), scene));
}

TEST_F(OverlayTest, UniformsFollowTheDrawOrder)
{
    const Target target(400, 300);
    const UniformRecorder uniforms;
    overlay->drawOverlay(400, 300, 50.0f);
    const std::vector<std::string> expected = {"u_ortho", "u_color", "u_model", "u_color",
                                               "u_model", "u_ortho", "u_color", "u_model"};
    ASSERT_EQ(uniforms.names(), expected);
    const auto& uploads = uniforms.uploads();
    const auto matches = [](const UniformUpload& upload, const float* values, std::size_t count) {
        return upload.values.size() == count &&
               std::memcmp(upload.values.data(), values, count * sizeof(float)) == 0;
    };
    const glm::mat4 projection = overlayProjection(400.0f, 300.0f);
    EXPECT_TRUE(matches(uploads[0], glm::value_ptr(projection), 16));
    EXPECT_TRUE(matches(uploads[1], glm::value_ptr(powerBarBackgroundColor), 4));
    EXPECT_TRUE(matches(uploads[2], glm::value_ptr(powerBarModel(100.0f, 100.0f)), 16));
    EXPECT_TRUE(matches(uploads[3], glm::value_ptr(powerBarFillColor), 4));
    EXPECT_TRUE(matches(uploads[4], glm::value_ptr(powerBarModel(100.0f, 50.0f)), 16));
    EXPECT_TRUE(matches(uploads[5], glm::value_ptr(projection), 16));
    EXPECT_TRUE(matches(uploads[6], glm::value_ptr(heartColor), 4));
    const glm::mat4 identity(1.0f);
    EXPECT_TRUE(matches(uploads[7], glm::value_ptr(identity), 16));
}

TEST_F(OverlayTest, LeavesTheDepthTestOnAndNoVertexArrayBound)
{
    const Target target(400, 300);
    overlay->drawOverlay(400, 300, 70.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint vao = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vao);
    EXPECT_EQ(vao, 0);
    glDisable(GL_DEPTH_TEST);
}

TEST_F(OverlayTest, AZeroSizedFramebufferGetsNothing)
{
    const Target target(400, 300);
    const UniformRecorder uniforms;
    overlay->drawOverlay(0, 0, 100.0f);
    overlay->drawOverlay(400, 0, 100.0f);
    overlay->drawOverlay(0, 300, 100.0f);
    EXPECT_TRUE(uniforms.uploads().empty());
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(looksLike(target.pixel(200, 40), scene));
    EXPECT_TRUE(looksLike(target.pixel(20, 50), scene));
}

TEST_F(OverlayTest, DestructionDeletesBothVertexArraysAndBuffers)
{
    const GLuint names[] = {overlay->quadVertexArray(), overlay->heartVertexArray(), overlay->quadBuffer(),
                            overlay->heartBuffer()};
    Overlay moved(std::move(*overlay));
    EXPECT_EQ(overlay->quadVertexArray(), 0u);
    overlay.reset();
    EXPECT_TRUE(glIsVertexArray(names[0]));
    EXPECT_TRUE(glIsBuffer(names[3]));
    {
        const Overlay gone(std::move(moved));
    }
    EXPECT_FALSE(glIsVertexArray(names[0]));
    EXPECT_FALSE(glIsVertexArray(names[1]));
    EXPECT_FALSE(glIsBuffer(names[2]));
    EXPECT_FALSE(glIsBuffer(names[3]));
}
