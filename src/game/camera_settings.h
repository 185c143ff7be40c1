// The camera values read from the camera settings file at start-up.
// Plain data only; reading the file is the app's job.
#pragma once

struct CameraSettings {
    float fov = 60.0f;   // vertical field of view, degrees
    float near = 0.1f;   // near clipping distance
    float far = 100.0f;  // far clipping distance
    float yaw = 0.0f;    // start heading of the follow camera, radians
    float pitch = 0.0f;  // start elevation of the follow camera, radians
    float mouseSensitivity = 0.002f;  // radians per screen unit of cursor motion
    bool invertY = false;             // cursor up looks down
};
