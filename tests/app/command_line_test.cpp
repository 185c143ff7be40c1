#include "app/command_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace {

struct Parsed {
    CommandLineOptions options;
    std::string errors;
};

Parsed parse(std::vector<const char*> args)
{
    args.insert(args.begin(), "glimmerdeep");
    std::ostringstream errors;
    Parsed parsed{parseCommandLine(static_cast<int>(args.size()), args.data(), errors), ""};
    parsed.errors = errors.str();
    return parsed;
}

}  // namespace

TEST(CommandLine, NoArgumentsKeepTheDefaultFiles)
{
    const Parsed parsed = parse({});
    EXPECT_FALSE(parsed.options.cameraSettingsPath);
    EXPECT_FALSE(parsed.options.rendererSettingsPath);
    EXPECT_EQ(parsed.errors, "");
}

TEST(CommandLine, BothOptionsTakeTheFollowingArgument)
{
    const Parsed parsed = parse({"--init_camera", "a.ini", "--init_renderer", "b.ini"});
    EXPECT_EQ(parsed.options.cameraSettingsPath, "a.ini");
    EXPECT_EQ(parsed.options.rendererSettingsPath, "b.ini");
}

TEST(CommandLine, AValueIsScannedAsAnOptionToo)
{
    const Parsed parsed = parse({"--init_camera", "--init_renderer", "file.ini"});
    EXPECT_EQ(parsed.options.cameraSettingsPath, "--init_renderer");
    EXPECT_EQ(parsed.options.rendererSettingsPath, "file.ini");
}

TEST(CommandLine, LaterOptionsReplaceEarlierOnesAndOthersAreIgnored)
{
    const Parsed parsed = parse({"--verbose", "--init_camera", "a.ini", "x", "--init_camera", "b.ini"});
    EXPECT_EQ(parsed.options.cameraSettingsPath, "b.ini");
    EXPECT_FALSE(parsed.options.rendererSettingsPath);
}

TEST(CommandLine, OptionWithoutValueIsReportedAndIgnored)
{
    const Parsed parsed = parse({"--init_renderer"});
    EXPECT_FALSE(parsed.options.rendererSettingsPath);
    EXPECT_NE(parsed.errors.find("--init_renderer"), std::string::npos);
    EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1);
}
