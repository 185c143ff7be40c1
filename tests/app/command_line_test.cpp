#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

// Each option takes the argument after it, which is scanned as an option too;
// a later option replaces an earlier one. Other arguments are ignored, but
// those starting with '-' never in silence: one line each, with a hint for
// the joined form of a known option. A value starting with '-' is no option.
TEST(CommandLine, OptionsTakeTheNextArgumentAndUnknownOnesAreNamed)
{
    const std::optional<std::string> none;
    const struct {
        std::vector<const char*> args;
        std::optional<std::string> camera, renderer;
        std::string errors;
    } cases[] = {
        {{}, none, none, ""},
        {{"--init_camera", "a.ini", "--init_renderer", "b.ini"}, "a.ini", "b.ini", ""},
        {{"--init_camera", "--init_renderer", "file.ini"}, "--init_renderer", "file.ini", ""},
        {{"x", "--init_camera", "a.ini", "y", "--init_camera", "b.ini"}, "b.ini", none, ""},
        {{"--bogus", "-x", "--init_camera=a.ini", "--init_renderer", "-r.ini", "plain"}, none, "-r.ini",
         "Unknown option --bogus ignored.\nUnknown option -x ignored.\n"
         "Unknown option --init_camera=a.ini ignored. Give the file after a space: --init_camera PATH\n"},
        {{"--init_renderer"}, none, none, "Option --init_renderer needs a value after it; it is ignored.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        std::vector<const char*> args = c.args;
        args.insert(args.begin(), "glimmerdeep");
        std::ostringstream errors;
        const CommandLineOptions options = parseCommandLine(static_cast<int>(args.size()), args.data(), errors);
        EXPECT_EQ(options.cameraSettingsPath, c.camera);
        EXPECT_EQ(options.rendererSettingsPath, c.renderer);
        EXPECT_EQ(errors.str(), c.errors);
    }
}

// --no-sound and --menu are switches: the argument after each is an option of
// its own; --course and --check-course take theirs.
TEST(CommandLine, SwitchesTakeNoValue)
{
    const char* args[] = {"glimmerdeep", "--no-sound", "--menu", "--init_camera", "a.ini",
                          "--course", "spiral", "--check-course", "mine.ini"};
    std::ostringstream errors;
    const CommandLineOptions options = parseCommandLine(9, args, errors);
    EXPECT_EQ(options.course, "spiral");
    EXPECT_EQ(options.checkCoursePath, "mine.ini");
    EXPECT_TRUE(options.noSound);
    EXPECT_TRUE(options.playerMode);
    EXPECT_EQ(options.cameraSettingsPath, "a.ini");
    EXPECT_EQ(errors.str(), "");
    EXPECT_FALSE(parseCommandLine(1, args, errors).noSound);
    EXPECT_FALSE(parseCommandLine(1, args, errors).playerMode);
}
