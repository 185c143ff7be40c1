// The player's kept results: counted after each run, and never lost when
// the game is killed while saving, the disk is full, the file is damaged or
// the folder cannot be written.
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

const std::string oldResults = "glimmerdeep-results 1\nbest 10.600 42.0 2026-01-02\nwins 3\nlosses 7\n";

const RunResults someWins{9.5, 12.0f, "2026-12-06", 4, 7};

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

TEST(Results, SavedResultsLoadAgainAndAMissingFileIsAFreshStart)
{
    const std::string folder = makeScratchDir("results_round_trip") + "/deeper/glimmerdeep";
    std::ostringstream console;
    ResultsFile file(folder);
    const RunResults fresh = file.load(console);
    EXPECT_FALSE(fresh.bestTime);
    EXPECT_EQ(fresh.wins + fresh.losses, 0);

    ASSERT_TRUE(file.save(someWins, console));
    const RunResults loaded = ResultsFile(folder).load(console);
    EXPECT_EQ(loaded.bestTime, 9.5);
    EXPECT_EQ(loaded.bestPower, 12.0f);
    EXPECT_EQ(loaded.bestDate, "2026-12-06");
    EXPECT_EQ(loaded.wins, 4);
    EXPECT_EQ(loaded.losses, 7);
    EXPECT_EQ(console.str(), "");
    EXPECT_FALSE(fs::exists(folder + "/results.txt.new"));
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
            file.save(someWins, console);
        },
        testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(contents(folder + "/results.txt"), oldResults);
    std::ostringstream console;
    EXPECT_EQ(ResultsFile(folder).load(console).wins, 3);
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
    const bool saved_ok = ResultsFile(folder).save(someWins, console);
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
                                       std::string("\0\1\2", 3)}) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        writeFile(path, damaged);
        writeFile(aside, "an earlier damaged file");
        std::ostringstream console;
        ResultsFile file(folder);
        const RunResults results = file.load(console);
        EXPECT_EQ(results.wins + results.losses, 0);
        EXPECT_EQ(console.str(), "The results in '" + path + "' could not be read; they were moved to '" + aside +
                                     "-2' and a new record begins.\n");
        EXPECT_EQ(contents(aside + "-2"), damaged);
        EXPECT_EQ(contents(aside), "an earlier damaged file");
        EXPECT_TRUE(file.save(someWins, console));
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
    EXPECT_EQ(file.load(console).wins, 0);
    EXPECT_FALSE(file.save(someWins, console));
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
