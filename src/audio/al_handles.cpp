#include "audio/al_handles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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

namespace {

// Standard error sent to /dev/null while it lives. Looking for a device,
// OpenAL Soft and the sound libraries it tries (alsa-lib) print their own
// complaints there; the game says what matters in one line of its own.
class QuietStandardError {
public:
    QuietStandardError() : saved_(dup(STDERR_FILENO))
    {
        std::fflush(stderr);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStandardError()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

private:
    int saved_;
};

}  // namespace

AudioDevice openAudioDevice(OpenFailure& failure)
{
    ALCdevice* device = nullptr;
    {
        const QuietStandardError quiet;
        device = alcOpenDevice(nullptr);
    }
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
