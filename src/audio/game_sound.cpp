#include "audio/game_sound.h"

#include "audio/sound_file.h"

namespace {

// Everything inside this distance is heard at full loudness: the ring the
// fairy passes is about as far from the camera as the fairy itself.
constexpr float fullLoudnessDistance = 4.0f;

// The sound's buffer, or an empty one after its line on `console`.
SoundBuffer loadSound(const SoundEntry& entry, FindSoundFile findFile, std::ostream& console)
{
    const std::string relative = std::string(soundFolder) + entry.fileName;
    const std::string path = findFile(relative);
    SoundFileRead read = path.empty() ? SoundFileRead{std::nullopt, "it is missing"} : readSoundFile(path);
    SoundBuffer buffer;
    if (read.sound) {
        buffer = makeSoundBuffer();
        const SoundSamples& sound = *read.sound;
        alBufferData(buffer.name(), AL_FORMAT_MONO16, sound.samples.data(),
                     static_cast<ALsizei>(sound.samples.size() * sizeof(sound.samples[0])), sound.sampleRate);
        if (buffer.name() == 0 || alGetError() != AL_NO_ERROR) {
            read.error = "the audio device does not take its samples";
            buffer = SoundBuffer();
        }
    }
    if (buffer.name() == 0)
        console << "Sound file '" << relative << "' cannot be played: " << read.error << ". It stays silent."
                << std::endl;
    return buffer;
}

}  // namespace

GameSound GameSound::open(const AudioSettings& settings, FindSoundFile findFile, std::ostream& console)
{
    GameSound sound;
    if (!settings.enabled)
        return sound;
    OpenFailure failure = OpenFailure::none;
    sound.device_ = openAudioDevice(failure);
    if (failure == OpenFailure::noDevice)
        console << "No audio device could be opened; the game plays without sound." << std::endl;
    if (failure == OpenFailure::noContext)
        console << "The audio device would not play; the game plays without sound." << std::endl;
    if (!sound.audible())
        return sound;

    alDistanceModel(AL_INVERSE_DISTANCE_CLAMPED);
    for (const SoundEntry& entry : soundCatalog)
        sound.buffers_[static_cast<std::size_t>(entry.id)] = loadSound(entry, findFile, console);
    for (SoundSource& source : sound.sources_) {
        source = makeSoundSource();
        alSourcef(source.name(), AL_REFERENCE_DISTANCE, fullLoudnessDistance);
    }
    sound.mixer_ = SoundMixer(settings);
    return sound;
}

void GameSound::apply(const Voice& voice, ALuint source)
{
    // Set before a start, so a new sound's first moment is not heard with the last one's gain and place.
    alSourcef(source, AL_GAIN, voice.gain);
    alSourcef(source, AL_PITCH, voice.pitch);
    alSourcei(source, AL_SOURCE_RELATIVE, voice.atListener ? AL_TRUE : AL_FALSE);
    alSource3f(source, AL_POSITION, voice.position.x, voice.position.y, voice.position.z);
    switch (voice.cue) {
    case Cue::keep:
        break;
    case Cue::start: {
        alSourceStop(source);
        const SoundBuffer& buffer = buffers_[static_cast<std::size_t>(voice.sound)];
        alSourcei(source, AL_BUFFER, static_cast<ALint>(buffer.name()));
        alSourcei(source, AL_LOOPING, soundEntry(voice.sound).loops ? AL_TRUE : AL_FALSE);
        if (buffer.name() != 0)
            alSourcePlay(source);
        break;
    }
    case Cue::stop:
        alSourceStop(source);
        break;
    case Cue::pause:
        alSourcePause(source);
        break;
    case Cue::resume: {
        // Playing a source that ended by itself would start it again.
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_PAUSED)
            alSourcePlay(source);
        break;
    }
    }
}

void GameSound::update(const SoundFrame& frame)
{
    if (!audible())
        return;
    const SoundMix& mix = mixer_.step(frame);
    const Listener& listener = mix.listener;
    alListener3f(AL_POSITION, listener.position.x, listener.position.y, listener.position.z);
    const ALfloat orientation[6] = {listener.front.x, listener.front.y, listener.front.z,
                                    listener.up.x,    listener.up.y,    listener.up.z};
    alListenerfv(AL_ORIENTATION, orientation);
    for (int i = 0; i < voiceCount; ++i)
        apply(mix.voices[static_cast<std::size_t>(i)], sources_[static_cast<std::size_t>(i)].name());
}
