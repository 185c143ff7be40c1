// The player's results kept between runs, per course: the best time with the
// power it left and its date, and how many runs were won and lost. A course
// is its name and the hash of its file, so a changed file starts a record of
// its own; results from before courses had files (format 1) are the classic
// course's, whatever its file's hash. A small versioned
// text file in the user's data folder ($XDG_DATA_HOME/glimmerdeep, by
// default ~/.local/share/glimmerdeep). It is written whole to a temporary
// file beside it, flushed to disk and renamed over the old one, so a crash
// or a full disk leaves the old results; a file that cannot be read is
// moved aside, never overwritten.
#pragma once

#include "game/course_id.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

struct RunResults {
    std::optional<double> bestTime;  // seconds; none before the first win
    float bestPower = 0.0f;
    std::string bestDate;            // YYYY-MM-DD
    int wins = 0;
    int losses = 0;
};

struct CourseResults {
    CourseId course;
    bool anyHash = false;  // kept from before courses had files: the classic course, whatever its hash
    RunResults results;
};

// Every course's results, in the order they were first counted.
struct ResultsByCourse {
    std::vector<CourseResults> courses;

    // The results of `course`, a fresh record when it has none yet.
    RunResults& of(const CourseId& course);
};

std::optional<ResultsByCourse> parseResults(const std::string& text);
std::string formatResults(const ResultsByCourse& results);

// $XDG_DATA_HOME/glimmerdeep, else $HOME/.local/share/glimmerdeep; "" without either.
std::string resultsFolder();

class ResultsFile {
public:
    explicit ResultsFile(std::string folder);

    // What the file holds; nothing yet for a missing file. A damaged file is
    // renamed aside with one line on `console` and counts as missing; one
    // that can be neither read nor moved is left alone, and save refuses.
    ResultsByCourse load(std::ostream& console);

    // Replaces the file with `results`; on any failure one line on
    // `console`, the old file untouched, and false.
    bool save(const ResultsByCourse& results, std::ostream& console);

    // Runs between writing the temporary file and the rename (for tests).
    std::function<void()> beforeRename;

private:
    std::string folder_;
    std::string path_;
    bool untouchable_ = false;
};

// Counts a finished run into `results` and says so: after a win, a line
// with the run's time and the power left, and one with the best time so far.
// Returns whether the run set a new best time.
bool countRun(RunResults& results, bool won, double runTime, float powerLeft, const std::string& today,
              std::ostream& console);

// Today's date as YYYY-MM-DD, local time.
std::string todaysDate();
