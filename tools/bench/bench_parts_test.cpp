// The bench's pure parts: reading callgrind's output, order statistics,
// combining runs and the command line. The measuring itself is exercised
// by bench.SmokeRun.
#include "callgrind_split.h"
#include "options.h"
#include "results.h"
#include "stats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string writeScratchFile(const std::string& name, const std::string& text)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path) << text;
    return path.string();
}

// Two objects with compressed names, a call across objects and one within ours.
const char* const sampleProfile = R"(version: 1
creator: callgrind-3.19.0
positions: line
events: Ir
summary: 180

ob=(1) /build/bench
fl=(1) ???
fn=(1) runFrame(App&)
0 60
+3 40
cob=(2) /usr/lib/x86_64-linux-gnu/libc.so.6
cfi=(2) ???
cfn=(2) memcpy
calls=2 0
0 50
cfn=(3) helper
calls=1 0
* 30

fn=(3)
0 30

ob=(2)
fl=(2)
fn=(2)
0 50
)";

}  // namespace

TEST(CallgrindSplit, SumsOwnCostByObjectAndFunctionAndCallsByCallee)
{
    const CallgrindSplit split = splitCallgrindFile(writeScratchFile("bench_split.out", sampleProfile), "/build/bench");
    ASSERT_TRUE(split.read);
    EXPECT_EQ(split.total, 180u);

    ASSERT_EQ(split.byObject.size(), 2u);
    EXPECT_EQ(split.byObject[0], (std::pair<std::string, std::uint64_t>{"/build/bench", 130}));
    EXPECT_EQ(split.byObject[1], (std::pair<std::string, std::uint64_t>{"/usr/lib/x86_64-linux-gnu/libc.so.6", 50}));

    ASSERT_EQ(split.ourFunctions.size(), 2u);
    EXPECT_EQ(split.ourFunctions[0], (std::pair<std::string, std::uint64_t>{"runFrame(App&)", 100}));
    EXPECT_EQ(split.ourFunctions[1], (std::pair<std::string, std::uint64_t>{"helper", 30}));

    // The call to helper stays inside our object and is no call into another one.
    ASSERT_EQ(split.ourCallsByObject.size(), 1u);
    EXPECT_EQ(split.ourCallsByObject[0].second, 50u);
}

TEST(CallgrindSplit, MissingFileIsNotRead)
{
    EXPECT_FALSE(splitCallgrindFile("/nonexistent/callgrind.out", "bench").read);
}

TEST(BenchStats, PercentilesUseTheNearestRank)
{
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(i);
    EXPECT_DOUBLE_EQ(percentile(hundred, 0.95), 95.0);
    EXPECT_DOUBLE_EQ(percentile(hundred, 1.0), 100.0);
    EXPECT_DOUBLE_EQ(percentile(hundred, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(median({3.0, 1.0, 2.0}), 2.0);
    EXPECT_DOUBLE_EQ(median({}), 0.0);
}

TEST(BenchOptions, ReadsSizesFramesAndTheMeasuringMode)
{
    std::ostringstream errors;
    const char* argv[] = {"bench", "--frames", "3", "--sizes", "64x64,1280x720", "--no-callgrind",
                          "--callgrind-frames", "2"};
    const auto options = parseBenchOptions(8, argv, errors);
    ASSERT_TRUE(options.has_value()) << errors.str();
    EXPECT_EQ(options->frames, 3);
    ASSERT_EQ(options->sizes.size(), 2u);
    EXPECT_EQ(options->sizes[1].text(), "1280x720");
    EXPECT_FALSE(options->callgrind);
    EXPECT_EQ(options->callgrindFrames, 2);
    EXPECT_FALSE(options->measure.has_value());

    const char* measuring[] = {"bench", "--measure", "200x100", "--results", "out.txt"};
    const auto measure = parseBenchOptions(5, measuring, errors);
    ASSERT_TRUE(measure && measure->measure);
    EXPECT_EQ(measure->measure->width, 200);
    EXPECT_EQ(measure->measure->height, 100);
}

TEST(BenchOptions, RejectsWhatMakesNoSense)
{
    const std::vector<std::vector<const char*>> bad = {
        {"bench", "--frames", "0"},         {"bench", "--frames"},          {"bench", "--sizes", "800"},
        {"bench", "--sizes", "0x600"},      {"bench", "--sizes", "80x60x"}, {"bench", "--whatever", "1"},
        {"bench", "--measure", "64x64"},  // no results file
    };
    for (const auto& arguments : bad) {
        std::ostringstream errors;
        EXPECT_FALSE(parseBenchOptions(static_cast<int>(arguments.size()), arguments.data(), errors))
            << arguments[1];
        EXPECT_FALSE(errors.str().empty());
    }
}

// Medians of every figure, but the start-up rows all from the run with the
// median total, so they still add up.
TEST(BenchResults, CombineRunsByMedianKeepingOneStartupWhole)
{
    std::vector<Results> runs;
    for (const char* text : {"startup.total 300\nstartup.settings 100\nframes.median 9\nsize 8x8\n",
                             "startup.total 100\nstartup.settings 60\nframes.median 7\nsize 8x8\n",
                             "startup.total 200\nstartup.settings 10\nframes.median 8\nsize 8x8\n"})
        runs.push_back(Results::read(writeScratchFile("bench_run.txt", text)));
    const Results combined = Results::medianOf(runs);
    EXPECT_EQ(combined.number("startup.total"), 200.0);
    EXPECT_EQ(combined.number("startup.settings"), 10.0);
    EXPECT_EQ(combined.number("frames.median"), 8.0);
    EXPECT_EQ(combined.text("size"), "8x8");
}
