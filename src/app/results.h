// The player's results kept between runs: the best time with the power it
// left and its date, and how many runs were won and lost. A small versioned
// text file in the user's data folder ($XDG_DATA_HOME/glimmerdeep, by
// default ~/.local/share/glimmerdeep). It is written whole to a temporary
// file beside it, flushed to disk and renamed over the old one, so a crash
// or a full disk leaves the old results; a file that cannot be read is
// moved aside, never overwritten.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

struct RunResults {
    std::optional<double> bestTime;  // seconds; none before the first win
    float bestPower = 0.0f;
    std::string bestDate;            // YYYY-MM-DD
    int wins = 0;
    int losses = 0;
};

std::optional<RunResults> parseResults(const std::string& text);
std::string formatResults(const RunResults& results);

// $XDG_DATA_HOME/glimmerdeep, else $HOME/.local/share/glimmerdeep; "" without either.
std::string resultsFolder();

class ResultsFile {
public:
    explicit ResultsFile(std::string folder);

    // What the file holds; nothing yet for a missing file. A damaged file is
    // renamed aside with one line on `console` and counts as missing; one
    // that can be neither read nor moved is left alone, and save refuses.
    RunResults load(std::ostream& console);

    // Replaces the file with `results`; on any failure one line on
    // `console`, the old file untouched, and false.
    bool save(const RunResults& results, std::ostream& console);

    // Runs between writing the temporary file and the rename (for tests).
    std::function<void()> beforeRename;

private:
    std::string folder_;
    std::string path_;
    bool untouchable_ = false;
};

// Counts a finished run into `results` and says so: after a win, a line
// with the run's time and the power left, and one with the best time so far.
void countRun(RunResults& results, bool won, double runTime, float powerLeft, const std::string& today,
              std::ostream& console);

// Today's date as YYYY-MM-DD, local time.
std::string todaysDate();
