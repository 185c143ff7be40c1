#include "app.h"

Switches initialSwitches(const Settings& settings)
{
    Switches switches;
    switches.isFullscreen = settings.window.fullscreen;
    switches.renderer = settings.renderer;
    return switches;
}
