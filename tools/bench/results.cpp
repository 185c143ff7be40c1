#include "results.h"

#include "stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

ResultWriter::ResultWriter(const std::string& path) : file(path, std::ios::trunc) {}

void ResultWriter::put(const std::string& key, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6f", value);
    put(key, std::string(text));
}

void ResultWriter::put(const std::string& key, const std::string& text)
{
    file << key << ' ' << text << '\n';
    file.flush();  // a child that dies later still leaves what it measured
}

Results Results::read(const std::string& path)
{
    Results results;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        results.values[line.substr(0, space)] = line.substr(space + 1);
    }
    return results;
}

void Results::add(const Results& other)
{
    for (const auto& [key, value] : other.values)
        values[key] = value;
}

double Results::number(const std::string& key) const
{
    const auto found = values.find(key);
    if (found == values.end())
        return std::nan("");
    return std::strtod(found->second.c_str(), nullptr);
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
        if (key.rfind("startup.", 0) == 0) {
            combined.values[key] = medianStartup.text(key);
            continue;
        }
        char* end = nullptr;
        std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end != '\0') {
            combined.values[key] = text;
            continue;
        }
        std::vector<double> values;
        for (const Results& run : runs)
            if (run.has(key))
                values.push_back(run.number(key));
        char number[64];
        std::snprintf(number, sizeof number, "%.6f", median(values));
        combined.values[key] = number;
    }
    return combined;
}
