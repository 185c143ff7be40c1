// The bench's pure parts: reading callgrind's output, order statistics and combining runs. The measuring itself is
// exercised by bench.SmokeRun.
#include "bench.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numeric>

static std::string writeScratchFile(const std::string& name, const std::string& text)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path) << text;
    return path.string();
}

// Two objects, a call from ours into the other and one within ours.
TEST(CallgrindSplit, SumsOwnCostByObjectAndFunctionAndCallsByCallee)
{
    const CallgrindSplit split = splitCallgrindFile(writeScratchFile("bench_split.out", R"(summary: 180
ob=/build/bench
fn=runFrame(App&)
10 60
11 40
cob=/lib/libc.so.6
cfn=memcpy
calls=2 0
13 50
cfn=helper
calls=1 0
13 30
fn=helper
20 30
ob=/lib/libc.so.6
fn=memcpy
1 50
)"), "/build/bench");
    ASSERT_TRUE(split.read);
    EXPECT_EQ(split.total, 180u);
    EXPECT_EQ(split.byObject, (CostList{{"/build/bench", 130}, {"/lib/libc.so.6", 50}}));
    EXPECT_EQ(split.ourFunctions, (CostList{{"runFrame(App&)", 100}, {"helper", 30}}));
    EXPECT_EQ(split.ourCallsByObject, (CostList{{"/lib/libc.so.6", 50}}));  // not the call to helper, inside ours
    EXPECT_FALSE(splitCallgrindFile("/nonexistent/callgrind.out", "bench").read);
}

TEST(BenchStats, PercentilesUseTheNearestRank)
{
    std::vector<double> hundred(100);
    std::iota(hundred.rbegin(), hundred.rend(), 1.0);  // 100 down to 1
    EXPECT_EQ(percentile(hundred, 0.95), 95.0);
    EXPECT_EQ(median({3.0, 1.0, 2.0}), 2.0);
    EXPECT_EQ(median({2.0, 1.0}), 1.0);  // the lower of two, not their mean
}

// Result lines among a run's log lines; medians of every figure, but the start-up rows all from the run with the
// median total, so they still add up.
TEST(BenchResults, CombineRunsByMedianKeepingOneStartupWhole)
{
    const auto log = [](const std::string& total, const std::string& settings, const std::string& frame) {
        return "Read shader: x\nbench result: startup.total " + total + "\nbench result: startup.settings " + settings +
               "\nbench result: frames.median " + frame + "\nbench result: size 8x8\n";
    };
    std::vector<Results> runs;
    for (const std::string& text : {log("300", "100", "9"), log("100", "60", "7"), log("200", "10", "8")})
        runs.push_back(Results::read(writeScratchFile("bench_run.log", text)));
    const Results combined = Results::medianOf(runs);
    EXPECT_EQ(combined.values.size(), 4u);
    EXPECT_EQ(combined.number("startup.total"), 200.0);
    EXPECT_EQ(combined.number("startup.settings"), 10.0);
    EXPECT_EQ(combined.number("frames.median"), 8.0);
    EXPECT_EQ(combined.text("size"), "8x8");
    EXPECT_TRUE(std::isnan(combined.number("absent")));
}
