// The lightmap bake: a 512 square of light over the whole wall, lit from
// the sun's side and from above, the same whatever the debug switches say,
// and the window's framebuffer, viewport and sky restored afterwards.
#include "scene/lightmap.h"

#include "scene/level_meshes.h"
#include "scene/lights.h"
#include "scene/scene_materials.h"

#include "framework/console.h"
#include "framework/geometry.h"
#include "framework/shader.h"
#include "support/gl_test_context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <optional>

namespace {

class LightmapBake : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        const CapturedConsole quiet;
        shader = std::make_shared<Shader>("assets/shaders/lightmapGen.vert", "assets/shaders/lightmapGen.frag");
        geometry.emplace(glm::translate(glm::mat4(1.0f), glm::vec3(0, 10, 0)), wellMeshData(20.0f, 5.0f),
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
        lightmap.bake(*shader, *geometry, makeSceneLights(), 37, 23);
        std::vector<unsigned char> texels(Lightmap::size * Lightmap::size * 3);
        glBindTexture(GL_TEXTURE_2D, lightmap.texture());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return texels;
    }

    std::shared_ptr<Shader> shader;
    std::optional<Geometry> geometry;
};

int brightness(const std::vector<unsigned char>& texels, float u, float v)
{
    const size_t x = std::min<size_t>(static_cast<size_t>(u * Lightmap::size), Lightmap::size - 1);
    const size_t y = std::min<size_t>(static_cast<size_t>(v * Lightmap::size), Lightmap::size - 1);
    const size_t at = (y * Lightmap::size + x) * 3;
    return texels[at] + texels[at + 1] + texels[at + 2];
}

}  // namespace

// Every texel is wall (none keeps the clear grey); the rim (v 0) is brighter
// than the water's end, the sun's side (u 1/8) than the other (u 5/8). The
// window's framebuffer, viewport and sky come back, with the depth test on.
TEST_F(LightmapBake, CoversTheWholeWallLitFromAboveAndFromTheSunsSideAndRestoresTheWindow)
{
    const Lightmap lightmap;
    glDisable(GL_DEPTH_TEST);
    const std::vector<unsigned char> texels = bake(lightmap);
    for (size_t i = 0; i < texels.size(); i += 3)
        ASSERT_FALSE(texels[i] == 51 && texels[i + 1] == 51 && texels[i + 2] == 51) << "texel " << i / 3;
    EXPECT_GT(brightness(texels, 0.125f, 0.05f), brightness(texels, 0.125f, 0.95f));
    EXPECT_GT(brightness(texels, 0.625f, 0.05f), brightness(texels, 0.625f, 0.95f));
    EXPECT_GT(brightness(texels, 0.125f, 0.5f), brightness(texels, 0.625f, 0.5f) + 60);

    GLint framebuffer = -1, viewport[4] = {};
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_EQ(viewport[2], 37);
    EXPECT_EQ(viewport[3], 23);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(readPixels(1, 1, 1, 1), (std::vector<unsigned char>{135, 206, 235, 255}));
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
    EXPECT_TRUE(texels == expected);
}
