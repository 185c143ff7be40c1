#include "results.h"

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
