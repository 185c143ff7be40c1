// Which sound plays when, how loud and at what rate: the game's mixing as
// plain arithmetic on SoundFrames, without a device. A fixed set of voices
// (the well's ambience, the wings, and a few for single sounds taken in
// turn); each frame says, per voice, whether to start, stop, pause or
// resume it, and its gain, rate and place. The player applies that to its
// sources; nothing here allocates once the mixer is made.
#pragma once

#include "audio/audio_settings.h"
#include "audio/sound_catalog.h"
#include "audio/sound_frame.h"

#include <glm/vec3.hpp>

#include <array>

inline constexpr int ambienceVoice = 0;
inline constexpr int wingsVoice = 1;
inline constexpr int singleSoundVoices = 6;  // enough that no chime cuts another short
inline constexpr int voiceCount = 2 + singleSoundVoices;

// The share of the full store at which the warning sounds on the way down: a fifth.
inline constexpr float lowPowerShare = 0.2f;

enum class Cue { keep, start, stop, pause, resume };

struct Voice {
    SoundId sound = SoundId::well;
    Cue cue = Cue::keep;      // this frame's change
    float gain = 0.0f;        // the player's volumes included
    float pitch = 1.0f;       // playback rate
    glm::vec3 position{0.0f}; // world position, or relative to the listener
    bool atListener = true;   // heard where the camera is, not from a place
};

struct SoundMix {
    Listener listener;
    std::array<Voice, voiceCount> voices;
};

// The rate a ring's chime plays at: ring 1 at 1, each further ring one step
// up a major scale, ring 15 two octaves up.
float chimePitch(int ringIndex);

// The wings' loop from the fairy's speed (world units per second): faster
// and louder beats the faster it flies.
struct WingBeat {
    float gain;   // before the volumes and the sound's own gain
    float pitch;
};
WingBeat wingBeat(float speed);

class SoundMixer {
public:
    explicit SoundMixer(const AudioSettings& volumes);

    // The voices after `frame`: new sounds for what happened since the last
    // frame, everything paused with the run and resumed with it, single
    // sounds cut by a new run, and no sound at all while silent.
    const SoundMix& step(const SoundFrame& frame);

    // Sounds playing and to come take these volumes from the next step on.
    void setVolumes(const AudioSettings& volumes) { volumes_ = volumes; }

private:
    void cueAll(Cue cue);
    void startSingle(SoundId sound, glm::vec3 where, bool atListener, float pitch = 1.0f);
    void startEventSounds(const SoundFrame& frame);
    void keepLoops(const SoundFrame& frame);
    float volumeOf(SoundId sound) const;

    AudioSettings volumes_;
    SoundFrame previous_;  // a fresh run until the first frame
    bool paused_ = false;
    std::array<bool, voiceCount> started_{};  // started and not stopped since (a single sound may have ended by itself)
    int nextSingle_ = 0;
    SoundMix mix_;
};
