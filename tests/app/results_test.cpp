// The player's kept results: counted after each run, per course, and never
// lost when the game is killed while saving, the disk is full, the file is
// damaged or the folder cannot be written.
#include "app/results.h"
#include "support/test_paths.h"

#include "framework/file_io.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

// As the game wrote them before courses had files: the classic course's.
const std::string oldResults = "glimmerdeep-results 1\nbest 10.600 42.0 2026-01-02\nwins 3\nlosses 7\n";

const CourseId classic{"classic", 0x0123456789abcdefull};
const CourseId classicChanged{"classic", 0xfedcba9876543210ull};
const CourseId spiral{"spiral stairs", 0x0123456789abcdefull};

const RunResults someWins{9.5, 12.0f, "2026-12-06", 4, 7};

// someWins for the classic course, and one loss on a course beside it.
ResultsByCourse someCourses()
{
    ResultsByCourse results;
    results.of(classic) = someWins;
    results.of(spiral).losses = 1;
    return results;
}

std::string contents(const std::string& path)
{
    return readWholeFile(path).value_or("<missing>");
}

// A results folder holding the old results.
std::string folderWithOldResults(const std::string& test)
{
    const std::string folder = makeScratchDir(test) + "/glimmerdeep";
    fs::create_directories(folder);
    writeFile(folder + "/results.txt", oldResults);
    return folder;
}

}  // namespace

TEST(Results, AWinSaysItsTimeAndTheBestAndEveryRunIsCounted)
{
    RunResults results;
    std::ostringstream console;
    countRun(results, true, 12.345, 56.4f, "2026-12-06", console);
    countRun(results, true, 13.0, 80.0f, "2026-12-07", console);
    countRun(results, false, 3.0, 0.0f, "2026-12-07", console);
    countRun(results, true, 11.0, 1.0f, "2026-12-08", console);
    EXPECT_EQ(console.str(),
              "Run time: 12.35 s, power left: 56\nBest time: 12.35 s (new best)\n"
              "Run time: 13.00 s, power left: 80\nBest time: 12.35 s\n"
              "Run time: 11.00 s, power left: 1\nBest time: 11.00 s (new best)\n");
    EXPECT_EQ(results.wins, 3);
    EXPECT_EQ(results.losses, 1);
    EXPECT_EQ(results.bestTime, 11.0);
    EXPECT_EQ(results.bestPower, 1.0f);
    EXPECT_EQ(results.bestDate, "2026-12-08");

    results.losses = 2147483647;
    countRun(results, false, 1.0, 0.0f, "2026-12-08", console);
    EXPECT_EQ(results.losses, 2147483647) << "a count at its limit must not wrap round";
}

// Each course keeps its own record; the same name with a changed file is
// another course.
TEST(Results, SavedResultsLoadAgainPerCourseAndAMissingFileIsAFreshStart)
{
    const std::string folder = makeScratchDir("results_round_trip") + "/deeper/glimmerdeep";
    std::ostringstream console;
    ResultsFile file(folder);
    ResultsByCourse fresh = file.load(console);
    EXPECT_FALSE(fresh.of(classic).bestTime);
    EXPECT_EQ(fresh.of(classic).wins + fresh.of(classic).losses, 0);

    ASSERT_TRUE(file.save(someCourses(), console));
    ResultsByCourse loaded = ResultsFile(folder).load(console);
    const RunResults& best = loaded.of(classic);
    EXPECT_EQ(best.bestTime, 9.5);
    EXPECT_EQ(best.bestPower, 12.0f);
    EXPECT_EQ(best.bestDate, "2026-12-06");
    EXPECT_EQ(best.wins, 4);
    EXPECT_EQ(best.losses, 7);
    EXPECT_EQ(loaded.of(spiral).losses, 1);
    EXPECT_FALSE(loaded.of(spiral).bestTime);
    EXPECT_EQ(loaded.of(classicChanged).wins + loaded.of(classicChanged).losses, 0);
    EXPECT_EQ(console.str(), "");
    EXPECT_FALSE(fs::exists(folder + "/results.txt.new"));
}

// Results written before courses had files are the classic course's,
// whatever its hash, and stay so when other courses' are saved beside them.
TEST(Results, OldResultsAreTheClassicCoursesAndNothingIsLost)
{
    const std::string folder = folderWithOldResults("results_old");
    std::ostringstream console;
    ResultsByCourse results = ResultsFile(folder).load(console);
    results.of(spiral).wins = 1;
    ASSERT_TRUE(ResultsFile(folder).save(results, console));
    for (const CourseId& course : {classicChanged, classic}) {
        ResultsByCourse loaded = ResultsFile(folder).load(console);
        EXPECT_EQ(loaded.of(course).bestTime, 10.6);
        EXPECT_EQ(loaded.of(course).wins, 3);
        EXPECT_EQ(loaded.of(spiral).wins, 1);
        EXPECT_EQ(loaded.of(CourseId{"spiral", 0}).wins, 0) << "an old record belongs to the classic course only";
    }
    EXPECT_EQ(console.str(), "");
}

// Killed between writing the new file and renaming it over the old one.
TEST(Results, AKillWhileSavingLeavesTheOldResults)
{
    const std::string folder = folderWithOldResults("results_killed");
    EXPECT_EXIT(
        {
            ResultsFile file(folder);
            file.beforeRename = [] { std::raise(SIGKILL); };
            std::ostringstream console;
            file.save(someCourses(), console);
        },
        testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(contents(folder + "/results.txt"), oldResults);
    std::ostringstream console;
    EXPECT_EQ(ResultsFile(folder).load(console).of(classic).wins, 3);
}

// A file size limit fails the write the way a full disk does.
TEST(Results, AFullDiskLeavesTheOldResults)
{
    const std::string folder = folderWithOldResults("results_full_disk");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    std::ostringstream console;
    const bool saved_ok = ResultsFile(folder).save(someCourses(), console);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(console.str(), "The results cannot be kept: '" + folder +
                                 "/results.txt.new' could not be written in full.\n");
    EXPECT_EQ(contents(folder + "/results.txt"), oldResults);
    EXPECT_FALSE(fs::exists(folder + "/results.txt.new"));
}

TEST(Results, ADamagedFileIsMovedAsideNeverOverwritten)
{
    const std::string folder = folderWithOldResults("results_damaged");
    const std::string path = folder + "/results.txt";
    const std::string aside = path + ".corrupt-" + todaysDate();
    for (const std::string& damaged : {std::string("glimmerdeep-results 1\nwins 3\nlosses"),
                                       std::string("glimmerdeep-results 1\nwins 99999999999\nlosses 1\n"),
                                       std::string("glimmerdeep-results 2\nwins 1\nlosses 1\n"),
                                       std::string("glimmerdeep-results 2\ncourse 12345 classic\nwins 1\nlosses 1\n"),
                                       std::string("glimmerdeep-results 2\ncourse any classic\nwins 1\n"),
                                       std::string("glimmerdeep-results 3\ncourse any classic\nwins 1\nlosses 1\n"),
                                       std::string("\0\1\2", 3)}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        writeFile(path, damaged);
        writeFile(aside, "an earlier damaged file");
        std::ostringstream console;
        ResultsFile file(folder);
        EXPECT_TRUE(file.load(console).courses.empty());
        EXPECT_EQ(console.str(), "The results in '" + path + "' could not be read; they were moved to '" + aside +
                                     "-2' and a new record begins.\n");
        EXPECT_EQ(contents(aside + "-2"), damaged);
        EXPECT_EQ(contents(aside), "an earlier damaged file");
        EXPECT_TRUE(file.save(someCourses(), console));
    }
}

// The data folder would lie under a regular file: nothing can be made there.
TEST(Results, AnUnwritableFolderIsSaidOnceAndTheGamePlaysOn)
{
    const std::string scratch = makeScratchDir("results_unwritable");
    writeFile(scratch + "/file", "not a folder");
    const std::string folder = scratch + "/file/glimmerdeep";
    std::ostringstream console;
    ResultsFile file(folder);
    EXPECT_TRUE(file.load(console).courses.empty());
    EXPECT_FALSE(file.save(someCourses(), console));
    EXPECT_EQ(console.str(), "The results cannot be kept: the folder '" + folder + "' cannot be made.\n");
    EXPECT_EQ(contents(scratch + "/file"), "not a folder");
}

TEST(Results, LiveInTheUsersDataFolder)
{
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const char* savedHome = std::getenv("HOME");
    const std::string data = savedData ? savedData : "", home = savedHome ? savedHome : "";
    const struct {
        const char* data;
        const char* home;
        std::string folder;
    } cases[] = {
        {"/data", "/home/player", "/data/glimmerdeep"},
        {nullptr, "/home/player", "/home/player/.local/share/glimmerdeep"},
        {"relative/ignored", "/home/player", "/home/player/.local/share/glimmerdeep"},
        {nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        c.data ? setenv("XDG_DATA_HOME", c.data, 1) : unsetenv("XDG_DATA_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(resultsFolder(), c.folder);
    }
    savedData ? setenv("XDG_DATA_HOME", data.c_str(), 1) : unsetenv("XDG_DATA_HOME");
    savedHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
}
