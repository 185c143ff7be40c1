#include "route.h"

#include "game/camera_settings.h"

#include <cmath>

namespace {

constexpr double turnRate = 1.2;     // radians per second: a circle of about 2 units inside the well
constexpr double nodPeriod = 8.0;    // seconds
constexpr double nodAmplitude = 0.25;  // radians of pitch at the top of a nod

}  // namespace

FrameInput routeInput(int index, CursorPosition start, int framebufferWidth, int framebufferHeight)
{
    const double seconds = (index + 1) * static_cast<double>(routeFrameTime);
    const double nod = std::sin(3.14159265358979 * seconds / nodPeriod);
    const double yaw = turnRate * seconds;
    const double pitch = nodAmplitude * nod * nod;

    FrameInput input;
    input.clock = static_cast<float>(index + 1) * routeFrameTime;
    input.keys.forward = true;
    // Mouse look: yaw -= dx * sensitivity, pitch += (lastY - y) * sensitivity.
    const double sensitivity = CameraSettings{}.mouseSensitivity;
    input.cursor.x = start.x - yaw / sensitivity;
    input.cursor.y = start.y - pitch / sensitivity;
    input.framebufferWidth = framebufferWidth;
    input.framebufferHeight = framebufferHeight;
    return input;
}
