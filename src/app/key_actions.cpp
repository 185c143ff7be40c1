#include "key_actions.h"

#include <GLFW/glfw3.h>

KeyAction applyKeyRelease(int key, Switches& switches)
{
    switch (key) {
    case GLFW_KEY_1:
        switches.overlayEnabled = !switches.overlayEnabled;
        return KeyAction::None;
    case GLFW_KEY_2:
        switches.particlesEnabled = !switches.particlesEnabled;
        return KeyAction::None;
    case GLFW_KEY_3:
        switches.waterAnimationEnabled = !switches.waterAnimationEnabled;
        return KeyAction::None;
    case GLFW_KEY_C:
        switches.freeCameraMode = !switches.freeCameraMode;
        return KeyAction::CameraSwitched;
    case GLFW_KEY_N:
        switches.renderer.normals = !switches.renderer.normals;
        return KeyAction::None;
    case GLFW_KEY_T:
        switches.renderer.texcoords = !switches.renderer.texcoords;
        return KeyAction::None;
    case GLFW_KEY_ESCAPE:
        return KeyAction::Quit;
    case GLFW_KEY_F1:
        switches.renderer.wireframe = !switches.renderer.wireframe;
        return KeyAction::None;  // the next scene pass draws with it
    case GLFW_KEY_F2:
        switches.renderer.backface_culling = !switches.renderer.backface_culling;
        return KeyAction::None;
    case GLFW_KEY_F3:
        switches.isFullscreen = !switches.isFullscreen;
        return KeyAction::ApplyWindowMode;
    case GLFW_KEY_P:
        switches.paused = !switches.paused;
        return KeyAction::PauseSwitched;
    case GLFW_KEY_R:
        return KeyAction::Restart;
    default:
        return KeyAction::None;
    }
}
