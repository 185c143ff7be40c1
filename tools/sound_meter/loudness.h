// What a captured WAV holds, measured: its loudness per 10 ms, where sounds
// begin, and the pitch each begins with. For the tests that listen to the
// game through OpenAL Soft's wave writer, and for the README's picture.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct Capture {
    std::vector<float> samples;  // mono (channels averaged), -1 .. 1
    int sampleRate = 0;
};

std::optional<Capture> readCapture(const std::string& path, std::string& error);

inline constexpr double blockSeconds = 0.01;

// Root-mean-square level of each 10 ms block in dB below full scale; -120 for silence.
std::vector<double> blockLevels(const Capture& capture);

struct Onset {
    double seconds;  // where the block that rose begins
    double peakDb;   // loudest of its first three blocks
    double pitchHz;  // strongest frequency between 150 Hz and 4 kHz just after it
};

// Blocks louder than `floorDb`, at least `riseDb` louder than the quietest
// block of the 200 ms before them and half that louder than the block just
// before; within 50 ms of the last onset only one clearly louder than it.
std::vector<Onset> findOnsets(const Capture& capture, const std::vector<double>& levels, double riseDb,
                              double floorDb);
