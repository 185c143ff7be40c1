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
    const Parsed parsed = parse({"x", "--init_camera", "a.ini", "y", "--init_camera", "b.ini"});
    EXPECT_EQ(parsed.options.cameraSettingsPath, "b.ini");
    EXPECT_FALSE(parsed.options.rendererSettingsPath);
    EXPECT_EQ(parsed.errors, "");
}

// Still ignored, but never in silence: one line each, and a hint for the
// joined form of a known option. A value starting with '-' is no option.
TEST(CommandLine, UnknownOptionsAreNamedOnePerLine)
{
    const Parsed parsed = parse({"--bogus", "-x", "--init_camera=a.ini", "--init_renderer", "-r.ini", "plain"});
    EXPECT_EQ(parsed.options.rendererSettingsPath, "-r.ini");
    EXPECT_FALSE(parsed.options.cameraSettingsPath);
    EXPECT_EQ(parsed.errors,
              "Unknown option --bogus ignored.\n"
              "Unknown option -x ignored.\n"
              "Unknown option --init_camera=a.ini ignored. Give the file after a space: --init_camera PATH\n");
}

TEST(CommandLine, OptionWithoutValueIsReportedAndIgnored)
{
    const Parsed parsed = parse({"--init_renderer"});
    EXPECT_FALSE(parsed.options.rendererSettingsPath);
    EXPECT_NE(parsed.errors.find("--init_renderer"), std::string::npos);
    EXPECT_EQ(std::count(parsed.errors.begin(), parsed.errors.end(), '\n'), 1);
}
