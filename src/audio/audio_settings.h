// What the player chose for sound: on or off, and the volumes of the whole
// mix, of the game's effects and of the well's ambience, each 0 to 1.
#pragma once

struct AudioSettings {
    bool enabled = true;
    float masterVolume = 1.0f;
    float effectsVolume = 1.0f;
    float ambienceVolume = 0.6f;  // the well stays behind the game's own sounds
};
