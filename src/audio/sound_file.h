// Reading a sound file through libsndfile into plain samples: mono, 16-bit,
// at the file's own rate. Knows nothing of OpenAL.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SoundSamples {
    std::vector<std::int16_t> samples;
    int sampleRate = 0;
};

// Either the samples, or what is wrong with the file, in words for a player.
struct SoundFileRead {
    std::optional<SoundSamples> sound;
    std::string error;
};

SoundFileRead readSoundFile(const std::string& path);
