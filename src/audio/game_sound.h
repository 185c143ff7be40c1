// The game's sound: the output device, one buffer per sound of the catalog
// and a fixed pool of sources, all made when it opens; each frame it hears
// the rules through the mixer and applies the mix to its sources. Without
// a device, or with sound off, it stays silent and does nothing per frame.
#pragma once

#include "audio/al_handles.h"
#include "audio/audio_settings.h"
#include "audio/sound_catalog.h"
#include "audio/sound_frame.h"
#include "audio/sound_mixer.h"

#include <array>
#include <ostream>
#include <string>

// The full path of an asset, or "" when there is none (findAssetPath).
using FindSoundFile = std::string (*)(const std::string& relativePath);

class GameSound {
public:
    GameSound() = default;  // silent

    // Opens the default device unless sound is off, and loads every sound
    // of the catalog. One line on `console` when there is no device or no
    // context (and the game is silent), and one for each file that is
    // missing or cannot be read (and that sound is silent).
    static GameSound open(const AudioSettings& settings, FindSoundFile findFile, std::ostream& console);

    bool audible() const { return device_.isOpen(); }

    // New volumes, heard from the next update on.
    void setVolumes(const AudioSettings& volumes) { mixer_.setVolumes(volumes); }

    // Sound after a frame: starts, stops, pauses and moves what the mixer
    // says; creates no OpenAL object and allocates nothing.
    void update(const SoundFrame& frame);

private:
    void apply(const Voice& voice, ALuint source);

    AudioDevice device_;  // declared first: it goes last, after what lives in its context
    std::array<SoundBuffer, soundCount> buffers_;
    std::array<SoundSource, voiceCount> sources_;
    SoundMixer mixer_{AudioSettings{}};
};
