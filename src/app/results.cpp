#include "results.h"

#include "framework/file_io.h"
#include "game/run_hash.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* formatName = "glimmerdeep-results";
// 1: one record, from before courses had files; 2: a record per course.
constexpr int formatVersion = 2;
constexpr const char* anyHashWord = "any";

// One value of a course's record, named by `key`; false when it is no sound value.
bool readValue(const std::string& key, std::istringstream& lines, RunResults& results, int& countsSeen)
{
    if (key == "best") {
        double time = 0.0;
        if (!(lines >> time >> results.bestPower >> results.bestDate) || !std::isfinite(time) || time < 0.0)
            return false;
        results.bestTime = time;
        return true;
    }
    int& count = key == "wins" ? results.wins : results.losses;
    countsSeen |= key == "wins" ? 1 : 2;
    return (key == "wins" || key == "losses") && lines >> count && count >= 0;
}

// After "course": <16 hex digits|any> <name>, the name being the rest of the line.
bool readCourse(std::istringstream& lines, CourseResults& entry)
{
    std::string line, hash, name;
    std::getline(lines, line);
    std::istringstream words(line);
    if (!(words >> hash) || !std::getline(words >> std::ws, name) || name.empty())
        return false;
    entry.course.name = name;
    entry.anyHash = hash == anyHashWord;
    if (entry.anyHash)
        return true;
    if (hash.size() != 16 || hash.find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;
    entry.course.hash = std::strtoull(hash.c_str(), nullptr, 16);
    return true;
}

}  // namespace

RunResults& ResultsByCourse::of(const CourseId& course)
{
    for (CourseResults& entry : courses)
        if (entry.course == course)
            return entry.results;
    // Results from before courses had files become this classic course's.
    for (CourseResults& entry : courses)
        if (entry.anyHash && course.name == classicCourseName) {
            entry.course = course;
            entry.anyHash = false;
            return entry.results;
        }
    courses.push_back({course, false, RunResults{}});
    return courses.back().results;
}

std::optional<ResultsByCourse> parseResults(const std::string& text)
{
    std::istringstream lines(text);
    std::string name;
    int version = 0;
    if (!(lines >> name >> version) || name != formatName || version < 1 || version > formatVersion)
        return std::nullopt;
    ResultsByCourse all;
    if (version == 1)
        all.courses.push_back({{classicCourseName, 0}, true, RunResults{}});
    std::vector<int> countsSeen(all.courses.size(), 0);  // bits: wins 1, losses 2; each course needs both
    std::string key;
    while (lines >> key) {
        if (version > 1 && key == "course") {
            CourseResults entry;
            if (!readCourse(lines, entry))
                return std::nullopt;
            all.courses.push_back(std::move(entry));
            countsSeen.push_back(0);
        } else if (all.courses.empty() || !readValue(key, lines, all.courses.back().results, countsSeen.back())) {
            return std::nullopt;
        }
    }
    for (const int seen : countsSeen)
        if (seen != 3)
            return std::nullopt;
    return all;
}

std::string formatResults(const ResultsByCourse& all)
{
    std::ostringstream text;
    text << formatName << " " << formatVersion << "\n";
    for (const CourseResults& entry : all.courses) {
        const RunResults& results = entry.results;
        text << "course " << (entry.anyHash ? anyHashWord : hashText(entry.course.hash)) << " " << entry.course.name
             << "\n";
        if (results.bestTime) {
            char best[96];
            std::snprintf(best, sizeof best, "best %.3f %.1f %s\n", *results.bestTime, results.bestPower,
                          results.bestDate.c_str());
            text << best;
        }
        text << "wins " << results.wins << "\nlosses " << results.losses << "\n";
    }
    return text.str();
}

std::string resultsFolder()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/')
        return std::string(data) + "/glimmerdeep";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/share/glimmerdeep";
    return "";
}

ResultsFile::ResultsFile(std::string folder) : folder_(std::move(folder)), path_(folder_ + "/results.txt") {}

ResultsByCourse ResultsFile::load(std::ostream& console)
{
    struct stat info {};
    if (::lstat(path_.c_str(), &info) != 0)
        return ResultsByCourse{};  // nothing there to keep: the first run counted, or no folder at all
    if (const std::optional<std::string> text = readWholeFile(path_))
        if (std::optional<ResultsByCourse> results = parseResults(*text))
            return std::move(*results);
    // Kept for the player to look at; a later save starts afresh beside it.
    std::string aside = path_ + ".corrupt-" + todaysDate();
    for (int n = 2; ::access(aside.c_str(), F_OK) == 0; ++n)
        aside = path_ + ".corrupt-" + todaysDate() + "-" + std::to_string(n);
    if (std::rename(path_.c_str(), aside.c_str()) == 0) {
        console << "The results in '" << path_ << "' could not be read; they were moved to '" << aside
                << "' and a new record begins." << std::endl;
    } else {
        // Whatever is there stays there: this run is not counted.
        console << "The results in '" << path_ << "' could not be read and stay as they are." << std::endl;
        untouchable_ = true;
    }
    return ResultsByCourse{};
}

bool ResultsFile::save(const ResultsByCourse& results, std::ostream& console)
{
    if (untouchable_)
        return false;  // load has said why
    const std::string temporary = path_ + ".new";
    if (folder_.empty() || !makeFolders(folder_)) {
        console << "The results cannot be kept: the folder '" << folder_ << "' cannot be made." << std::endl;
        return false;
    }
    if (!writeDurably(temporary, formatResults(results))) {
        ::unlink(temporary.c_str());
        console << "The results cannot be kept: '" << temporary << "' could not be written in full." << std::endl;
        return false;
    }
    if (beforeRename)
        beforeRename();
    if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::unlink(temporary.c_str());
        console << "The results cannot be kept: '" << path_ << "' could not be replaced." << std::endl;
        return false;
    }
    // The rename itself reaches the disk with the folder's entry.
    const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

bool countRun(RunResults& results, bool won, double runTime, float powerLeft, const std::string& today,
              std::ostream& console)
{
    // A count at its limit stays there rather than wrapping round.
    const auto counted = [](int count) { return count < std::numeric_limits<int>::max() ? count + 1 : count; };
    if (!won) {
        results.losses = counted(results.losses);
        return false;
    }
    results.wins = counted(results.wins);
    const bool newBest = !results.bestTime || runTime < *results.bestTime;
    if (newBest) {
        results.bestTime = runTime;
        results.bestPower = powerLeft;
        results.bestDate = today;
    }
    char line[128];
    std::snprintf(line, sizeof line, "Run time: %.2f s, power left: %.0f", runTime, powerLeft);
    console << line << std::endl;
    std::snprintf(line, sizeof line, "Best time: %.2f s%s", *results.bestTime, newBest ? " (new best)" : "");
    console << line << std::endl;
    return newBest;
}

std::string todaysDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}
