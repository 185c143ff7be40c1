#include "audio/al_handles.h"

#include <utility>

AudioDevice::~AudioDevice()
{
    close();
}

AudioDevice::AudioDevice(AudioDevice&& other) noexcept
    : device_(std::exchange(other.device_, nullptr)), context_(std::exchange(other.context_, nullptr))
{
}

AudioDevice& AudioDevice::operator=(AudioDevice&& other) noexcept
{
    if (this != &other) {
        close();
        device_ = std::exchange(other.device_, nullptr);
        context_ = std::exchange(other.context_, nullptr);
    }
    return *this;
}

void AudioDevice::close()
{
    if (context_) {
        if (alcGetCurrentContext() == context_)
            alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    if (device_)
        alcCloseDevice(device_);
    context_ = nullptr;
    device_ = nullptr;
}

AudioDevice openAudioDevice(OpenFailure& failure)
{
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        failure = OpenFailure::noDevice;
        return {};
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context || !alcMakeContextCurrent(context)) {
        if (context)
            alcDestroyContext(context);
        alcCloseDevice(device);
        failure = OpenFailure::noContext;
        return {};
    }
    failure = OpenFailure::none;
    return AudioDevice(device, context);
}

SoundBuffer makeSoundBuffer()
{
    ALuint name = 0;
    alGetError();  // an earlier call's error is not this one's
    alGenBuffers(1, &name);
    return SoundBuffer(alGetError() == AL_NO_ERROR ? name : 0);
}

SoundSource makeSoundSource()
{
    ALuint name = 0;
    alGetError();
    alGenSources(1, &name);
    return SoundSource(alGetError() == AL_NO_ERROR ? name : 0);
}
