// sound_generator <folder>: synthesises every sound of the catalog and writes
// it into the folder (assets/sounds in the repository) as a mono 16-bit WAV.
#include "sounds.h"

#include "audio/sound_catalog.h"
#include "common/generator_output.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>

namespace {

Samples synthesise(SoundId id)
{
    switch (id) {
    case SoundId::chime:
        return chime();
    case SoundId::lowPower:
        return lowPower();
    case SoundId::powerOut:
        return powerOut();
    case SoundId::splash:
        return splash();
    case SoundId::fanfare:
        return fanfare();
    case SoundId::wings:
        return wingsLoop();
    case SoundId::well:
        return wellLoop();
    }
    return {};
}

// Rounded and clipped here rather than by libsndfile, whose float
// conversion wraps values beyond full scale.
bool writeWave(const std::string& path, const Samples& sound)
{
    std::vector<std::int16_t> pcm(sound.size());
    for (std::size_t i = 0; i < sound.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(std::lround(std::clamp(sound[i], -1.0, 1.0) * 32767.0));
    SF_INFO info{};
    info.samplerate = soundRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::cerr << "Could not write " << path << ": " << sf_strerror(nullptr) << std::endl;
        return false;
    }
    const sf_count_t written = sf_writef_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
    const bool closed = sf_close(file) == 0;
    if (written != static_cast<sf_count_t>(pcm.size()) || !closed) {
        std::cerr << "Could not write " << path << std::endl;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const auto folder = outputFolder(argc, argv, "usage: sound_generator <output folder>");
    if (!folder)
        return 2;
    for (const SoundEntry& entry : soundCatalog) {
        if (!writeWave((*folder / entry.fileName).string(), synthesise(entry.id)))
            return 1;
    }
    return 0;
}
