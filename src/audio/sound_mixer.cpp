#include "audio/sound_mixer.h"

#include "game/flight.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include <cmath>

namespace {

// Semitones above ring 1's chime: a major scale over two octaves; later
// rings of a longer course repeat the top note.
constexpr std::array<int, 15> chimeSteps = {0, 2, 4, 5, 7, 9, 11, 12, 14, 16, 17, 19, 21, 23, 24};

bool isSingle(int voice)
{
    return voice >= 2;
}

}  // namespace

float chimePitch(int ringIndex)
{
    const int index = glm::clamp(ringIndex, 0, static_cast<int>(chimeSteps.size()) - 1);
    return std::exp2(static_cast<float>(chimeSteps[static_cast<std::size_t>(index)]) / 12.0f);
}

WingBeat wingBeat(float speed)
{
    const float effort = glm::clamp(speed / flightSpeed, 0.0f, 1.0f);
    return WingBeat{0.4f + 0.6f * effort, 0.8f + 0.4f * effort};
}

SoundMixer::SoundMixer(const AudioSettings& volumes) : volumes_(volumes)
{
    mix_.voices[ambienceVoice].sound = SoundId::well;
    mix_.voices[wingsVoice].sound = SoundId::wings;
}

float SoundMixer::volumeOf(SoundId sound) const
{
    const SoundEntry& entry = soundEntry(sound);
    const float kind = entry.kind == SoundKind::ambience ? volumes_.ambienceVolume : volumes_.effectsVolume;
    return volumes_.masterVolume * kind * entry.gain;
}

void SoundMixer::cueAll(Cue cue)
{
    for (int i = 0; i < voiceCount; ++i) {
        if (started_[i])
            mix_.voices[i].cue = cue;
    }
}

// The single voice started longest ago takes the new sound.
void SoundMixer::startSingle(SoundId sound, glm::vec3 where, bool atListener, float pitch)
{
    const int index = 2 + nextSingle_;
    nextSingle_ = (nextSingle_ + 1) % singleSoundVoices;
    Voice& voice = mix_.voices[index];
    voice.sound = sound;
    voice.cue = Cue::start;
    voice.gain = volumeOf(sound);
    voice.pitch = pitch;
    voice.position = atListener ? glm::vec3(0.0f) : where;
    voice.atListener = atListener;
    started_[index] = true;
}

void SoundMixer::startEventSounds(const SoundFrame& frame)
{
    const std::uint64_t newRings = frame.ringsPassed & ~previous_.ringsPassed;
    const std::size_t rings = frame.ringCentres ? frame.ringCentres->size() : 0;
    for (std::size_t ring = 0; ring < rings && ring < 64; ++ring) {
        if (newRings & (std::uint64_t{1} << ring))
            startSingle(SoundId::chime, (*frame.ringCentres)[ring], false, chimePitch(static_cast<int>(ring)));
    }
    const float lowPower = frame.fullPower * lowPowerShare;
    if (previous_.power >= lowPower && frame.power < lowPower && !frame.falling)
        startSingle(SoundId::lowPower, {}, true);
    if (frame.falling && !previous_.falling)
        startSingle(SoundId::powerOut, frame.fairy, false);
    if (frame.end == RunEnd::lost && previous_.end != RunEnd::lost)
        startSingle(SoundId::splash, frame.fairy, false);
    if (frame.end == RunEnd::won && previous_.end != RunEnd::won)
        startSingle(SoundId::fanfare, {}, true);
}

void SoundMixer::keepLoops(const SoundFrame& frame)
{
    Voice& ambience = mix_.voices[ambienceVoice];
    ambience.gain = volumeOf(SoundId::well);
    if (!started_[ambienceVoice]) {
        ambience.cue = Cue::start;
        started_[ambienceVoice] = true;
    }

    // The wings beat while the fairy flies: not in its fall, not after the run.
    Voice& wings = mix_.voices[wingsVoice];
    const bool flying = frame.end == RunEnd::none && !frame.falling;
    if (flying != started_[wingsVoice]) {
        wings.cue = flying ? Cue::start : Cue::stop;
        started_[wingsVoice] = flying;
    }
    const float speed = frame.timeStep > 0.0f ? glm::distance(frame.fairy, previous_.fairy) / frame.timeStep : 0.0f;
    const WingBeat beat = wingBeat(speed);
    wings.gain = volumeOf(SoundId::wings) * beat.gain;
    wings.pitch = beat.pitch;
    wings.position = frame.fairy;
    wings.atListener = false;
}

const SoundMix& SoundMixer::step(const SoundFrame& frame)
{
    for (Voice& voice : mix_.voices)
        voice.cue = Cue::keep;
    mix_.listener = frame.listener;
    if (frame.silent) {
        cueAll(Cue::stop);
        started_.fill(false);
        previous_ = frame;
        return mix_;
    }
    // A new run (R): what the old one started stops; it starts from a fresh run's state.
    if (frame.runTime < previous_.runTime) {
        for (int i = 0; i < voiceCount; ++i) {
            if (isSingle(i) && started_[i]) {
                mix_.voices[i].cue = Cue::stop;
                started_[i] = false;
            }
        }
        previous_ = SoundFrame{};
        previous_.fairy = frame.fairy;
    }
    if (frame.paused != paused_) {
        cueAll(frame.paused ? Cue::pause : Cue::resume);
        paused_ = frame.paused;
    }
    if (!paused_) {
        startEventSounds(frame);
        keepLoops(frame);
    }
    previous_ = frame;
    return mix_;
}
