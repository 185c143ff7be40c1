// The console reporter on the real streams: where each topic's lines go,
// that each is out before anything else happens, and how the two ending
// severities end the process. Lines written through a stream.
#include "framework/console.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// In a death test's child: only `shown` reaches the check, which reads
// standard error; the other stream goes nowhere. What the test program
// wrote before stays out of the check.
void showOnly(int shown)
{
    std::fflush(stdout);
    const int nowhere = open("/dev/null", O_WRONLY);
    const int checked = dup(STDERR_FILENO);
    dup2(shown == STDOUT_FILENO ? checked : nowhere, STDOUT_FILENO);
    dup2(shown == STDERR_FILENO ? checked : nowhere, STDERR_FILENO);
}

// Standard input that never delivers a character nor ends.
void inputThatNeverComes()
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    dup2(ends[0], STDIN_FILENO);
}

}  // namespace

// The child ends without flushing anything: a line is seen only if the
// reporter flushed it as it was written.
TEST(ConsoleDeathTest, EachTopicReachesItsStreamAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        int stream;
        const char* seen;
    } cases[] = {
        {STDOUT_FILENO, "^game\n$"},
        {STDERR_FILENO, "^launch\nmodels\n$"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                showOnly(c.stream);
                report(Severity::information, "game");
                report(Severity::warning, "launch", Topic::launch);
                report(Severity::error, "models", Topic::models);
                std::_Exit(0);
            },
            testing::ExitedWithCode(0), c.seen);
    }
}

// A fatal line waits for Enter (here it never comes, and the alarm ends
// the wait); a start-up failure ends at once. Both say why first.
TEST(ConsoleDeathTest, AFatalLineWaitsForEnterAndAStartupFailureDoesNot)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        Severity severity;
        Topic topic;
        std::function<bool(int)> ended;
    } cases[] = {
        {Severity::fatal, Topic::game, testing::KilledBySignal(SIGALRM)},
        {Severity::startupFailure, Topic::launch, testing::ExitedWithCode(1)},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                showOnly(STDERR_FILENO);
                dup2(STDERR_FILENO, STDOUT_FILENO);
                inputThatNeverComes();
                alarm(1);
                report(c.severity, "cannot go on", c.topic);
                std::_Exit(0);
            },
            c.ended, "^cannot go on\n$");
    }
}

TEST(ReportingStream, EachLineIsReportedWhenItsEndArrivesAndALastUnendedOneAtTheEnd)
{
    const CapturedConsole console;
    {
        ReportingStream models(Severity::warning, Topic::models);
        models << "first " << 1 << "\n\nsecond";
        EXPECT_EQ(console.lines().size(), 2u);
    }
    EXPECT_EQ(console.text(StandardStream::error), "first 1\n\nsecond\n");
    EXPECT_EQ(console.text(StandardStream::output), "");
    EXPECT_EQ(console.lines().back().severity, Severity::warning);
}
