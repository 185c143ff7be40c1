#include "scene/lights.h"

#include <gtest/gtest.h>

TEST(SceneLights, DirectionIsStoredAtUnitLength)
{
    const SceneLights lights = makeSceneLights();
    EXPECT_NEAR(lights.directional.direction.x, 0.2761724f, 1e-6f);
    EXPECT_NEAR(lights.directional.direction.y, -0.9205746f, 1e-6f);
    EXPECT_NEAR(lights.directional.direction.z, 0.2761724f, 1e-6f);
}

TEST(SceneLights, PointLightsKeepTheirValues)
{
    const SceneLights lights = makeSceneLights();
    EXPECT_EQ(lights.point.position, glm::vec3(0.0f, 10.0f, 0.0f));
    EXPECT_EQ(lights.point.attenuation, glm::vec3(1.0f, 0.4f, 0.1f));
    EXPECT_EQ(lights.fairy.color, glm::vec3(0.5f, 0.5f, 1.0f));
    EXPECT_EQ(lights.fairy.position, glm::vec3(0.0f, 5.0f, 0.0f));
    EXPECT_EQ(lights.fairy.attenuation, glm::vec3(1.0f, 0.1f, 0.02f));
    EXPECT_TRUE(lights.directional.enabled && lights.point.enabled && lights.fairy.enabled);
}
