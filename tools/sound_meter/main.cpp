// sound_meter: measures what the game played into a WAV (OpenAL Soft's wave
// writer) and when a replay's rings come, for the tests that listen.
//   sound_meter levels <wav>       "<seconds> <dB>" per 10 ms
//   sound_meter onsets <wav>       "onset <seconds> <peak dB> <pitch Hz>" per sound that begins
//   sound_meter rings <replay>     "ring <number> <seconds> <chime rate>" and "won|lost <seconds>",
//                                  seconds from its first frame
#include "loudness.h"
#include "ring_times.h"

#include "framework/file_io.h"

#include <cstring>
#include <iostream>

namespace {

int usage()
{
    std::cerr << "usage: sound_meter levels|onsets <wav> | sound_meter rings <replay>\n";
    return 2;
}

int printRings(const char* path)
{
    const std::optional<std::string> text = readWholeFile(path);
    ReplayParse parse = text ? parseReplay(*text) : ReplayParse{std::nullopt, "it cannot be read"};
    if (!parse.replay) {
        std::cerr << "sound_meter: " << path << ": " << parse.error << "\n";
        return 1;
    }
    printRingTimes(*parse.replay, std::cout);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    if (std::strcmp(argv[1], "rings") == 0)
        return printRings(argv[2]);
    std::string error;
    const std::optional<Capture> capture = readCapture(argv[2], error);
    if (!capture) {
        std::cerr << "sound_meter: " << argv[2] << ": " << error << "\n";
        return 1;
    }
    const std::vector<double> levels = blockLevels(*capture);
    if (std::strcmp(argv[1], "levels") == 0) {
        for (std::size_t b = 0; b < levels.size(); ++b)
            std::cout << static_cast<double>(b) * blockSeconds << " " << levels[b] << "\n";
        return 0;
    }
    if (std::strcmp(argv[1], "onsets") != 0)
        return usage();
    for (const Onset& onset : findOnsets(*capture, levels, 6.0, -40.0))
        std::cout << "onset " << onset.seconds << " " << onset.peakDb << " " << onset.pitchHz << "\n";
    return 0;
}
