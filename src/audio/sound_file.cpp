#include "audio/sound_file.h"

#include <sndfile.h>

#include <memory>

namespace {

struct CloseSoundFile {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// libsndfile's own words, without the full stop that some of them end with.
std::string libraryError()
{
    std::string text = sf_strerror(nullptr);
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

SoundFileRead readSoundFile(const std::string& path)
{
    SF_INFO info{};
    const std::unique_ptr<SNDFILE, CloseSoundFile> file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file)
        return {std::nullopt, libraryError()};
    if (info.channels != 1)
        return {std::nullopt, "it has " + std::to_string(info.channels) + " channels, not one"};
    if (info.frames <= 0)
        return {std::nullopt, "it holds no samples"};
    SoundSamples sound;
    sound.sampleRate = info.samplerate;
    sound.samples.resize(static_cast<std::size_t>(info.frames));
    if (sf_readf_short(file.get(), sound.samples.data(), info.frames) != info.frames)
        return {std::nullopt, "it ends before its last sample"};
    return {std::move(sound), ""};
}
