#include "results.h"

#include "framework/file_io.h"

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
constexpr int formatVersion = 1;

}  // namespace

std::optional<RunResults> parseResults(const std::string& text)
{
    std::istringstream lines(text);
    std::string name;
    int version = 0;
    if (!(lines >> name >> version) || name != formatName || version != formatVersion)
        return std::nullopt;
    RunResults results;
    bool sawWins = false, sawLosses = false;
    std::string key;
    while (lines >> key) {
        if (key == "best") {
            double time = 0.0;
            if (!(lines >> time >> results.bestPower >> results.bestDate) || !std::isfinite(time) || time < 0.0)
                return std::nullopt;
            results.bestTime = time;
        } else if (key == "wins") {
            sawWins = static_cast<bool>(lines >> results.wins) && results.wins >= 0;
        } else if (key == "losses") {
            sawLosses = static_cast<bool>(lines >> results.losses) && results.losses >= 0;
        } else {
            return std::nullopt;
        }
    }
    if (!sawWins || !sawLosses)
        return std::nullopt;
    return results;
}

std::string formatResults(const RunResults& results)
{
    std::ostringstream text;
    text << formatName << " " << formatVersion << "\n";
    if (results.bestTime) {
        char best[96];
        std::snprintf(best, sizeof best, "best %.3f %.1f %s\n", *results.bestTime, results.bestPower,
                      results.bestDate.c_str());
        text << best;
    }
    text << "wins " << results.wins << "\nlosses " << results.losses << "\n";
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

RunResults ResultsFile::load(std::ostream& console)
{
    struct stat info {};
    if (::lstat(path_.c_str(), &info) != 0)
        return RunResults{};  // nothing there to keep: the first run counted, or no folder at all
    if (const std::optional<std::string> text = readWholeFile(path_))
        if (const std::optional<RunResults> results = parseResults(*text))
            return *results;
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
    return RunResults{};
}

bool ResultsFile::save(const RunResults& results, std::ostream& console)
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

void countRun(RunResults& results, bool won, double runTime, float powerLeft, const std::string& today,
              std::ostream& console)
{
    // A count at its limit stays there rather than wrapping round.
    const auto counted = [](int count) { return count < std::numeric_limits<int>::max() ? count + 1 : count; };
    if (!won) {
        results.losses = counted(results.losses);
        return;
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
