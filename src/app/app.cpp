#include "app.h"

Switches initialSwitches(const Settings& settings)
{
    Switches switches;
    switches.isFullscreen = settings.window.fullscreen;
    switches.wireframe = settings.renderer.wireframe;
    switches.backfaceCulling = settings.renderer.backface_culling;
    switches.normals = settings.renderer.normals;
    switches.texcoords = settings.renderer.texcoords;
    switches.ghostShown = settings.window.ghost;
    return switches;
}
