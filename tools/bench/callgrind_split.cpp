#include "callgrind_split.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>

namespace {

// Name compression: "(12) name" defines id 12, "(12)" refers back to it.
class NameTable {
public:
    std::string resolve(const std::string& value)
    {
        if (value.empty() || value[0] != '(')
            return value;
        const std::size_t close = value.find(')');
        if (close == std::string::npos)
            return value;
        const std::string id = value.substr(1, close - 1);
        if (close + 1 < value.size()) {
            std::string name = value.substr(close + 1);
            name.erase(0, name.find_first_not_of(' '));
            names[id] = name;
            return name;
        }
        return names[id];
    }

private:
    std::map<std::string, std::string> names;
};

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// The first event count of a cost line (after the one position column).
std::uint64_t firstEvent(const std::string& line)
{
    const std::size_t space = line.find(' ');
    if (space == std::string::npos)
        return 0;
    return std::strtoull(line.c_str() + space + 1, nullptr, 10);
}

std::vector<std::pair<std::string, std::uint64_t>> sortedLargestFirst(const std::map<std::string, std::uint64_t>& map)
{
    std::vector<std::pair<std::string, std::uint64_t>> sorted(map.begin(), map.end());
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    return sorted;
}

}  // namespace

CallgrindSplit splitCallgrindFile(const std::string& path, const std::string& ourObject)
{
    CallgrindSplit split;
    std::ifstream file(path);
    if (!file)
        return split;
    split.read = true;

    NameTable objects, functions;
    std::map<std::string, std::uint64_t> byObject, ourFunctions, ourCalls;
    std::string object = "???", function, calledObject;
    bool callCostNext = false;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (startsWith(line, "ob=")) {
            object = objects.resolve(line.substr(3));
        } else if (startsWith(line, "fn=")) {
            function = functions.resolve(line.substr(3));
            calledObject.clear();
        } else if (startsWith(line, "cob=")) {
            calledObject = objects.resolve(line.substr(4));
        } else if (startsWith(line, "cfn=")) {
            functions.resolve(line.substr(4));
        } else if (startsWith(line, "calls=")) {
            callCostNext = true;
        } else if (startsWith(line, "summary:") || startsWith(line, "totals:")) {
            split.total = std::strtoull(line.c_str() + line.find(':') + 1, nullptr, 10);
        } else if (std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '+' || line[0] == '-' ||
                   line[0] == '*') {
            const std::uint64_t cost = firstEvent(line);
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
        // fl=, fi=, fe=, cfi=, cfl= and header lines change nothing counted here.
    }
    split.byObject = sortedLargestFirst(byObject);
    split.ourFunctions = sortedLargestFirst(ourFunctions);
    split.ourCallsByObject = sortedLargestFirst(ourCalls);
    if (split.total == 0)
        for (const auto& entry : split.byObject)
            split.total += entry.second;
    return split;
}
