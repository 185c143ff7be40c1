#include "loudness.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double pi = 3.14159265358979323846;

// The loudest frequency of a Hann-windowed stretch starting at `first`,
// scanned in steps of a quarter percent.
double strongestFrequency(const Capture& capture, std::size_t first)
{
    const std::size_t length = std::min<std::size_t>(4096, capture.samples.size() - first);
    double best = 0.0;
    double bestPower = -1.0;
    for (double hz = 150.0; hz < 4000.0; hz *= 1.0025) {
        double re = 0.0;
        double im = 0.0;
        for (std::size_t i = 0; i < length; ++i) {
            const double window = 0.5 - 0.5 * std::cos(2.0 * pi * static_cast<double>(i) / static_cast<double>(length));
            const double phase = 2.0 * pi * hz * static_cast<double>(i) / capture.sampleRate;
            re += window * capture.samples[first + i] * std::cos(phase);
            im += window * capture.samples[first + i] * std::sin(phase);
        }
        if (re * re + im * im > bestPower) {
            bestPower = re * re + im * im;
            best = hz;
        }
    }
    return best;
}

}  // namespace

std::optional<Capture> readCapture(const std::string& path, std::string& error)
{
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) {
        error = sf_strerror(nullptr);
        return std::nullopt;
    }
    std::vector<float> frames(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t read = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    Capture capture;
    capture.sampleRate = info.samplerate;
    capture.samples.resize(static_cast<std::size_t>(read));
    for (std::size_t i = 0; i < capture.samples.size(); ++i) {
        float sum = 0.0f;
        for (int c = 0; c < info.channels; ++c)
            sum += frames[i * static_cast<std::size_t>(info.channels) + static_cast<std::size_t>(c)];
        capture.samples[i] = sum / static_cast<float>(info.channels);
    }
    return capture;
}

std::vector<double> blockLevels(const Capture& capture)
{
    const std::size_t block = static_cast<std::size_t>(capture.sampleRate * blockSeconds);
    std::vector<double> levels;
    for (std::size_t first = 0; first + block <= capture.samples.size(); first += block) {
        double sum = 0.0;
        for (std::size_t i = first; i < first + block; ++i)
            sum += static_cast<double>(capture.samples[i]) * capture.samples[i];
        const double rms = std::sqrt(sum / static_cast<double>(block));
        levels.push_back(rms > 1e-6 ? 20.0 * std::log10(rms) : -120.0);
    }
    return levels;
}

std::vector<Onset> findOnsets(const Capture& capture, const std::vector<double>& levels, double riseDb,
                              double floorDb)
{
    constexpr std::size_t quietBlocks = 20;
    std::vector<Onset> onsets;
    for (std::size_t b = quietBlocks; b < levels.size(); ++b) {
        // An attack: louder than the block before, and well above the
        // quietest moment of the 200 ms before, even on a sound still ringing.
        const double quietest = *std::min_element(levels.begin() + static_cast<std::ptrdiff_t>(b - quietBlocks),
                                                  levels.begin() + static_cast<std::ptrdiff_t>(b));
        const double at = static_cast<double>(b) * blockSeconds;
        if (levels[b] < floorDb || levels[b] - quietest < riseDb || levels[b] - levels[b - 1] < riseDb / 2.0)
            continue;
        // The rest of an attack already found, unless a much louder sound starts over a quiet one.
        if (!onsets.empty() && at - onsets.back().seconds < 0.05 && onsets.back().peakDb > levels[b] - riseDb / 2.0)
            continue;
        const std::size_t last = std::min(levels.size(), b + 3);
        const double peak = *std::max_element(levels.begin() + static_cast<std::ptrdiff_t>(b),
                                              levels.begin() + static_cast<std::ptrdiff_t>(last));
        const std::size_t first = static_cast<std::size_t>((at + 0.02) * capture.sampleRate);
        onsets.push_back({at, peak, first < capture.samples.size() ? strongestFrequency(capture, first) : 0.0});
    }
    return onsets;
}
