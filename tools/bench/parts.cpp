// The bench's pure parts: its command line, order statistics, the runs'
// results combined, and callgrind's output split by object and function.
#include "bench.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

const char* const benchUsage =
    "usage: bench [--frames N] [--runs N] [--sizes WxH[,WxH...]] [--no-callgrind] [--out FILE] [--work-dir DIR]\n";

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
    const auto width = parsePositive(text.substr(0, x));
    const auto height = x == std::string::npos ? std::nullopt : parsePositive(text.substr(x + 1));
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
        const std::string value = i + 1 < argc ? argv[++i] : "";
        bool valid = !value.empty();
        if (option == "--frames" || option == "--runs") {
            valid = parsePositive(value).has_value();
            (option == "--frames" ? options.frames : options.runs) = parsePositive(value).value_or(0);
        } else if (option == "--sizes") {
            options.sizes.clear();
            std::istringstream list(value);
            for (std::string item; valid && std::getline(list, item, ',');) {
                valid = parseFrameSize(item).has_value();
                options.sizes.push_back(parseFrameSize(item).value_or(FrameSize{}));
            }
        } else if (option == "--out" || option == "--work-dir") {
            (option == "--out" ? options.outPath : options.workDir) = value;
        } else {
            errors << "bench: unknown option " << option << '\n' << benchUsage;
            return std::nullopt;
        }
        if (!valid) {
            errors << "bench: bad value '" << value << "' for " << option << '\n' << benchUsage;
            return std::nullopt;
        }
    }
    return options;
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const double rank = std::ceil(p * static_cast<double>(values.size()));
    const auto index = static_cast<std::size_t>(std::max(rank, 1.0)) - 1;
    return values[std::min(index, values.size() - 1)];
}

Results Results::read(const std::string& path)
{
    Results results;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (line.find(' ') != std::string::npos)
            results.values[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
    return results;
}

double Results::number(const std::string& key) const
{
    const auto found = values.find(key);
    return found == values.end() ? std::nan("") : std::strtod(found->second.c_str(), nullptr);
}

std::string Results::text(const std::string& key) const
{
    const auto found = values.find(key);
    return found == values.end() ? std::string() : found->second;
}

Results Results::medianOf(const std::vector<Results>& runs)
{
    Results combined;
    if (runs.empty())
        return combined;
    std::vector<std::pair<double, std::size_t>> totals;
    for (std::size_t i = 0; i < runs.size(); ++i)
        totals.emplace_back(runs[i].number("startup.total"), i);
    std::sort(totals.begin(), totals.end(), [](const auto& a, const auto& b) {
        return std::isnan(b.first) || (!std::isnan(a.first) && a.first < b.first);
    });
    const Results& medianStartup = runs[totals[(totals.size() - 1) / 2].second];
    for (const auto& [key, text] : runs.front().values) {
        char* end = nullptr;
        std::strtod(text.c_str(), &end);
        std::vector<double> values;
        for (const Results& run : runs)
            if (run.values.count(key) != 0)
                values.push_back(run.number(key));
        char number[64];
        std::snprintf(number, sizeof number, "%.6f", median(values));
        const bool isText = end == text.c_str() || *end != '\0';
        combined.values[key] = key.rfind("startup.", 0) == 0 ? medianStartup.text(key) : isText ? text : number;
    }
    return combined;
}

namespace {

// Name compression: "(12) name" defines id 12, "(12)" refers back to it.
std::string resolveName(std::map<std::string, std::string>& names, const std::string& value)
{
    const std::size_t close = value.find(')');
    if (value.empty() || value[0] != '(' || close == std::string::npos)
        return value;
    const std::string id = value.substr(1, close - 1), name = value.substr(close + 1);
    if (!name.empty())
        names[id] = name.substr(std::min(name.find_first_not_of(' '), name.size()));
    return names[id];
}

CostList largestFirst(const std::map<std::string, std::uint64_t>& costs)
{
    CostList sorted(costs.begin(), costs.end());
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return sorted;
}

}  // namespace

CallgrindSplit splitCallgrindFile(const std::string& path, const std::string& ourObject)
{
    CallgrindSplit split;
    std::ifstream file(path);
    split.read = static_cast<bool>(file);
    std::map<std::string, std::string> objects, functions;
    std::map<std::string, std::uint64_t> byObject, ourFunctions, ourCalls;
    std::string object = "???", function, calledObject;
    bool callCostNext = false;
    for (std::string line; std::getline(file, line);) {
        const std::string value = line.substr(std::min(line.find('=') + 1, line.size()));
        if (line.rfind("ob=", 0) == 0) {
            object = resolveName(objects, value);
        } else if (line.rfind("fn=", 0) == 0) {
            function = resolveName(functions, value);
            calledObject.clear();
        } else if (line.rfind("cob=", 0) == 0) {
            calledObject = resolveName(objects, value);
        } else if (line.rfind("cfn=", 0) == 0) {
            resolveName(functions, value);
        } else if (line.rfind("calls=", 0) == 0) {
            callCostNext = true;
        } else if (line.rfind("summary:", 0) == 0 || line.rfind("totals:", 0) == 0) {
            split.total = std::strtoull(line.c_str() + line.find(':') + 1, nullptr, 10);
        } else if (!line.empty() && (std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '+' ||
                                     line[0] == '-' || line[0] == '*')) {
            // A cost line: one position column, then the first event's count.
            const std::size_t space = line.find(' ');
            const std::uint64_t cost = space == std::string::npos ? 0 : std::strtoull(&line[space + 1], nullptr, 10);
            if (callCostNext) {
                // A call's inclusive cost: not this function's own work.
                const std::string& callee = calledObject.empty() ? object : calledObject;
                if (object == ourObject && callee != ourObject)
                    ourCalls[callee] += cost;
                callCostNext = false;
                calledObject.clear();
            } else {
                byObject[object] += cost;
                if (object == ourObject)
                    ourFunctions[function] += cost;
            }
        }
        // Comments, fl=, fi=, fe=, cfi=, cfl= and header lines change nothing counted here.
    }
    split.byObject = largestFirst(byObject);
    split.ourFunctions = largestFirst(ourFunctions);
    split.ourCallsByObject = largestFirst(ourCalls);
    if (split.total == 0)
        for (const auto& entry : split.byObject)
            split.total += entry.second;
    return split;
}
