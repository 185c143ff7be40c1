#include "scene/lightmap.h"

#include "scene/level_meshes.h"
#include "scene/lights.h"
#include "scene/scene_materials.h"

#include "framework/geometry.h"
#include "framework/shader.h"
#include "support/gl_test_context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>

namespace {

class LightmapBake : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (HasFatalFailure())
            return;
        testing::internal::CaptureStdout();
        shader = std::make_shared<Shader>("assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag");
        testing::internal::GetCapturedStdout();
        geometry.emplace(glm::translate(glm::mat4(1.0f), glm::vec3(0, 10, 0)), wellMeshData(),
                         std::make_shared<LightmapMaterial>(shader));
    }
    void TearDown() override
    {
        geometry.reset();
        shader.reset();
        GlTest::TearDown();
    }

    // The baked texels as RGB bytes.
    std::vector<unsigned char> bake(const Lightmap& lightmap)
    {
        bakeLightmap(lightmap, *shader, *geometry, makeSceneLights(), 37, 23);
        std::vector<unsigned char> texels(Lightmap::size * Lightmap::size * 3);
        glBindTexture(GL_TEXTURE_2D, lightmap.texture());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    static size_t greyTexels(const std::vector<unsigned char>& texels)
    {
        size_t count = 0;
        for (size_t i = 0; i < texels.size(); i += 3) {
            if (texels[i] == 51 && texels[i + 1] == 51 && texels[i + 2] == 51)
                ++count;
        }
        return count;
    }

    std::shared_ptr<Shader> shader;
    std::optional<Geometry> geometry;
};

}  // namespace

TEST_F(LightmapBake, IsA512SquareThatCoversTheWholeWallAndVaries)
{
    const Lightmap lightmap;
    const std::vector<unsigned char> texels = bake(lightmap);
    glBindTexture(GL_TEXTURE_2D, lightmap.texture());
    GLint width = 0, height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(height, 512);
    EXPECT_EQ(greyTexels(texels), 0u) << "the wall unrolls over the whole square";
    const auto [darkest, brightest] = std::minmax_element(texels.begin(), texels.end());
    EXPECT_GT(*brightest - *darkest, 40) << "light should vary across the wall";
}

TEST_F(LightmapBake, RestoresTheWindowFramebufferViewportAndSkyButLeavesDepthTestOn)
{
    const Lightmap lightmap;
    glDisable(GL_DEPTH_TEST);
    bake(lightmap);
    GLint framebuffer = -1, viewport[4] = {};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(viewport[2], 37);
    EXPECT_EQ(viewport[3], 23);
    GLfloat clear[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_FLOAT_EQ(clear[0], 0.529f);
    EXPECT_FLOAT_EQ(clear[2], 0.922f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
}

// The lightmap lasts the whole run, so the debug switches of the moment it
// is baked must not show in it.
TEST_F(LightmapBake, IsTheSameUnderAnyRenderSettings)
{
    const Lightmap standard;
    const std::vector<unsigned char> expected = bake(standard);

    const Lightmap debug;
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE);
    const std::vector<unsigned char> texels = bake(debug);
    glCullFace(GL_BACK);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_TRUE(texels == expected);
}
