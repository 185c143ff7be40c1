#include "app/key_actions.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

TEST(KeyActions, EachSwitchKeyFlipsExactlyItsSwitch)
{
    struct Case {
        int key;
        bool Switches::*field;
    };
    for (const Case& c : {Case{GLFW_KEY_1, &Switches::overlayEnabled}, Case{GLFW_KEY_2, &Switches::particlesEnabled},
                          Case{GLFW_KEY_3, &Switches::waterAnimationEnabled},
                          Case{GLFW_KEY_C, &Switches::freeCameraMode}, Case{GLFW_KEY_F3, &Switches::isFullscreen}}) {
        Switches switches;
        const Switches before = switches;
        applyKeyRelease(c.key, switches);
        EXPECT_NE(switches.*c.field, before.*c.field) << c.key;
        applyKeyRelease(c.key, switches);
        EXPECT_EQ(switches.*c.field, before.*c.field) << c.key;
    }
}

TEST(KeyActions, RendererKeysFlipTheirSettings)
{
    Switches switches;
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_N, switches), KeyAction::None);
    EXPECT_TRUE(switches.renderer.normals);
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_T, switches), KeyAction::None);
    EXPECT_TRUE(switches.renderer.texcoords);
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_F1, switches), KeyAction::None);
    EXPECT_TRUE(switches.renderer.wireframe);
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_F2, switches), KeyAction::None);
    EXPECT_TRUE(switches.renderer.backface_culling);
    EXPECT_TRUE(switches.renderer.depthtest);  // no key for it
}

TEST(KeyActions, ActionsThatNeedTheWindowOrGl)
{
    Switches switches;
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_ESCAPE, switches), KeyAction::Quit);
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_C, switches), KeyAction::CameraSwitched);
    EXPECT_EQ(applyKeyRelease(GLFW_KEY_F3, switches), KeyAction::ApplyWindowMode);
}

TEST(KeyActions, UnboundKeysChangeNothing)
{
    for (int key : {GLFW_KEY_W, GLFW_KEY_A, GLFW_KEY_S, GLFW_KEY_D, GLFW_KEY_SPACE, GLFW_KEY_4, GLFW_KEY_F4,
                    GLFW_KEY_UNKNOWN}) {
        Switches switches;
        EXPECT_EQ(applyKeyRelease(key, switches), KeyAction::None);
        EXPECT_TRUE(switches.overlayEnabled && switches.particlesEnabled && switches.waterAnimationEnabled);
        EXPECT_FALSE(switches.freeCameraMode || switches.isFullscreen || switches.renderer.wireframe ||
                     switches.renderer.backface_culling || switches.renderer.normals || switches.renderer.texcoords);
    }
}
