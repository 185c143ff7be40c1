// The bench's pure parts: order statistics, the runs' results combined, and callgrind's output split by object and
// function.
#include "bench.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <fstream>

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::max(std::ceil(p * static_cast<double>(values.size())), 1.0));
    return values[std::min(rank, values.size()) - 1];
}

std::vector<std::string> linesStarting(const std::string& path, const std::string& prefix)
{
    std::ifstream file(path);
    std::vector<std::string> found;
    for (std::string line; std::getline(file, line);)
        if (line.rfind(prefix, 0) == 0)
            found.push_back(line.substr(prefix.size()));
    return found;
}

Results Results::read(const std::string& logPath)
{
    Results results;
    for (const std::string& line : linesStarting(logPath, resultLinePrefix))
        if (line.find(' ') != std::string::npos)
            results.values[line.substr(0, line.find(' '))] = line.substr(line.find(' ') + 1);
    return results;
}

Results Results::medianOf(const std::vector<Results>& runs)
{
    Results combined;
    if (runs.empty())
        return combined;
    std::vector<const Results*> byTotal;  // crashed runs, with no total, last
    for (const Results& run : runs)
        byTotal.push_back(&run);
    std::sort(byTotal.begin(), byTotal.end(), [](const Results* a, const Results* b) {
        const double x = a->number("startup.total"), y = b->number("startup.total");
        return !std::isnan(x) && (std::isnan(y) || x < y);
    });
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
        combined.values[key] = key.rfind("startup.", 0) == 0 ? byTotal[(runs.size() - 1) / 2]->text(key)
                               : isText                       ? text
                                                              : number;
    }
    return combined;
}

CallgrindSplit splitCallgrindFile(const std::string& path, const std::string& ourObject)
{
    CallgrindSplit split;
    std::ifstream file(path);
    split.read = file.is_open();
    std::map<std::string, std::uint64_t> byObject, ourFunctions, ourCalls;
    std::string object = "???", function, calledObject;
    bool callCostNext = false;
    for (std::string line; std::getline(file, line);) {
        const std::string value = line.substr(line.find('=') + 1);  // names as written: not compressed
        if (line.rfind("ob=", 0) == 0) {
            object = value;
        } else if (line.rfind("fn=", 0) == 0) {
            function = value;
            calledObject.clear();
        } else if (line.rfind("cob=", 0) == 0) {
            calledObject = value;
        } else if (line.rfind("calls=", 0) == 0) {
            callCostNext = true;
        } else if (line.rfind("summary:", 0) == 0 || line.rfind("totals:", 0) == 0) {
            split.total = std::strtoull(line.c_str() + line.find(':') + 1, nullptr, 10);
        } else if (!line.empty() && std::isdigit(static_cast<unsigned char>(line[0]))) {
            // A cost line: its line number, then the first event's count.
            const std::uint64_t cost = std::strtoull(line.c_str() + std::min(line.find(' '), line.size()), nullptr, 10);
            if (callCostNext) {  // a call's inclusive cost: not this function's own work
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
    }
    for (const auto& [costs, list] : {std::pair{&byObject, &split.byObject}, {&ourFunctions, &split.ourFunctions},
                                      {&ourCalls, &split.ourCallsByObject}}) {
        list->assign(costs->begin(), costs->end());
        std::sort(list->begin(), list->end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    }
    return split;
}
