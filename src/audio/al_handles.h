// Owners of the OpenAL objects: the device with its context, buffers and
// sources. Move-only; the destructor is the one place that deletes, and a
// moved-from owner holds nothing and deletes nothing. Buffers and sources
// belong to the current context, so they must go before the device does.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

// The default output device with one context, made current while it lives.
class AudioDevice {
public:
    AudioDevice() = default;
    AudioDevice(ALCdevice* device, ALCcontext* context) : device_(device), context_(context) {}
    ~AudioDevice();
    AudioDevice(AudioDevice&& other) noexcept;
    AudioDevice& operator=(AudioDevice&& other) noexcept;
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    bool isOpen() const { return context_ != nullptr; }

private:
    void close();

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
};

enum class OpenFailure { none, noDevice, noContext };

// Opens the default device and makes a context on it current; on failure
// the device holds nothing and `failure` says which step failed.
AudioDevice openAudioDevice(OpenFailure& failure);

// One OpenAL object name with its delete function.
template <void (*deleteNames)(ALsizei, const ALuint*)>
class AlHandle {
public:
    AlHandle() = default;
    explicit AlHandle(ALuint name) : name_(name) {}
    ~AlHandle() { reset(); }
    AlHandle(AlHandle&& other) noexcept : name_(other.name_) { other.name_ = 0; }
    AlHandle& operator=(AlHandle&& other) noexcept
    {
        if (this != &other) {
            reset();
            name_ = other.name_;
            other.name_ = 0;
        }
        return *this;
    }
    AlHandle(const AlHandle&) = delete;
    AlHandle& operator=(const AlHandle&) = delete;

    ALuint name() const { return name_; }

private:
    void reset()
    {
        if (name_ != 0)
            deleteNames(1, &name_);
        name_ = 0;
    }

    ALuint name_ = 0;
};

using SoundBuffer = AlHandle<alDeleteBuffers>;
using SoundSource = AlHandle<alDeleteSources>;

// A new buffer or source in the current context; holds 0 when none could be made.
SoundBuffer makeSoundBuffer();
SoundSource makeSoundSource();
