// The measurements a run hands back: one "key value" line each, written by
// the measuring child process and read by the parent that prints the table.
#pragma once

#include <fstream>
#include <map>
#include <string>
#include <vector>

class ResultWriter {
public:
    explicit ResultWriter(const std::string& path);
    bool isOpen() const { return file.is_open(); }

    void put(const std::string& key, double value);
    void put(const std::string& key, const std::string& text);

private:
    std::ofstream file;
};

class Results {
public:
    // Empty when the file is missing.
    static Results read(const std::string& path);

    // Adds the other's values; the other's win where both have one.
    void add(const Results& other);

    bool has(const std::string& key) const { return values.count(key) != 0; }
    // NaN when absent, so a missing value shows as such rather than as 0.
    double number(const std::string& key) const;
    std::string text(const std::string& key) const;

    // Each number the median of the runs' values, except the start-up
    // figures ("startup.*"), which all come from the run whose total is the
    // median, so that they add up; texts from the first run.
    static Results medianOf(const std::vector<Results>& runs);

private:
    std::map<std::string, std::string> values;
};
