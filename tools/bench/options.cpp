#include "options.h"

#include <cstdlib>
#include <sstream>

const char* const benchUsage =
    "usage: bench [--frames N] [--runs N] [--sizes WxH[,WxH...]] [--no-callgrind] [--callgrind-frames N]\n"
    "             [--callgrind-size WxH] [--out FILE] [--work-dir DIR]\n";

namespace {

std::optional<int> parsePositive(const std::string& text)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || value <= 0 || value > 1000000)
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

std::optional<FrameSize> parseFrameSize(const std::string& text)
{
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return std::nullopt;
    const auto width = parsePositive(text.substr(0, x));
    const auto height = parsePositive(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return FrameSize{*width, *height};
}

std::optional<BenchOptions> parseBenchOptions(int argc, const char* const* argv, std::ostream& errors)
{
    BenchOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--no-callgrind") {
            options.callgrind = false;
            continue;
        }
        if (option == "--loaders-only") {
            options.loadersOnly = true;
            continue;
        }
        if (i + 1 >= argc) {
            errors << "bench: " << option << " needs a value\n" << benchUsage;
            return std::nullopt;
        }
        const std::string value = argv[++i];
        bool valid = true;
        if (option == "--frames") {
            const auto frames = parsePositive(value);
            valid = frames.has_value();
            options.frames = frames.value_or(0);
        } else if (option == "--runs") {
            const auto runs = parsePositive(value);
            valid = runs.has_value();
            options.runs = runs.value_or(0);
        } else if (option == "--sizes") {
            options.sizes.clear();
            std::istringstream list(value);
            std::string item;
            while (valid && std::getline(list, item, ',')) {
                const auto size = parseFrameSize(item);
                valid = size.has_value();
                if (size)
                    options.sizes.push_back(*size);
            }
            valid = valid && !options.sizes.empty();
        } else if (option == "--callgrind-frames") {
            options.callgrindFrames = parsePositive(value);
            valid = options.callgrindFrames.has_value();
        } else if (option == "--callgrind-size") {
            const auto size = parseFrameSize(value);
            valid = size.has_value();
            options.callgrindSize = size.value_or(FrameSize{});
        } else if (option == "--out") {
            options.outPath = value;
        } else if (option == "--work-dir") {
            options.workDir = value;
        } else if (option == "--measure") {
            options.measure = parseFrameSize(value);
            valid = options.measure.has_value();
        } else if (option == "--results") {
            options.resultsPath = value;
        } else if (option == "--spawned-at") {
            options.spawnedAtNs = std::strtoll(value.c_str(), nullptr, 10);
        } else {
            errors << "bench: unknown option " << option << '\n' << benchUsage;
            return std::nullopt;
        }
        if (!valid) {
            errors << "bench: bad value '" << value << "' for " << option << '\n' << benchUsage;
            return std::nullopt;
        }
    }
    if (options.measure && options.resultsPath.empty()) {
        errors << "bench: --measure needs --results\n";
        return std::nullopt;
    }
    return options;
}
