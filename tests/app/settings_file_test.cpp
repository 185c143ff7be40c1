#include "app/settings_file.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

// Integers read like strtol with base 0 and reals like strtod, both ignoring
// what follows the number; booleans take the usual words in any case;
// strings keep a semicolon with no white space before it. Anything else, and
// a key not there, gives the default. (Hex numbers, inline comments and on,
// off and no are the Settings tests'.) Names match without regard to case;
// keys before any section belong to the empty one.
TEST(SettingsFile, ValuesAreReadAsTheirKind)
{
    const SettingsFile file = SettingsFile::fromText(
        "width = 5\n[n]\nunit = 1024px\nbare = px\noctal = 010\nneg = -5\nsemi = 75;wider\nnear = 0.05\n"
        "[b]\na = Yes\nc = 1\nd = FALSE\ne = 2\n"
        "[WINDOW]\nWidth = 640\ntitle = My;Game\nblank =\n");
    EXPECT_EQ(file.getInteger("n", "unit", 7), 1024);
    EXPECT_EQ(file.getInteger("n", "bare", 7), 7);
    EXPECT_EQ(file.getInteger("n", "octal", 7), 8);
    EXPECT_EQ(file.getInteger("n", "neg", 7), -5);
    EXPECT_EQ(file.getInteger("n", "absent", 7), 7);
    EXPECT_DOUBLE_EQ(file.getReal("n", "semi", 60.0), 75.0);
    EXPECT_DOUBLE_EQ(file.getReal("n", "near", 0.1), 0.05);
    EXPECT_DOUBLE_EQ(file.getReal("n", "bare", 60.0), 60.0);
    EXPECT_TRUE(file.getBoolean("b", "a", false));
    EXPECT_TRUE(file.getBoolean("b", "c", false));
    EXPECT_FALSE(file.getBoolean("b", "d", true));
    EXPECT_TRUE(file.getBoolean("b", "e", true));
    EXPECT_FALSE(file.getBoolean("b", "e", false));
    EXPECT_TRUE(file.getBoolean("b", "missing", true));
    EXPECT_EQ(file.getInteger("Window", "WIDTH", 0), 640);
    EXPECT_EQ(file.getString("window", "title", "x"), "My;Game");
    EXPECT_EQ(file.getString("window", "blank", "x"), "");
    EXPECT_EQ(file.getString("window", "absent", "x"), "x");
    EXPECT_EQ(file.getInteger("", "width", 0), 5);
}

// Each line that is no key, section, comment or blank line is named, a long
// one once; every other line counts, an indented key is a key of its own, and
// the last value of a key wins.
TEST(SettingsFiles, EachUnreadableLineIsNamedAndTheRestCountsWithTheLastValueWinning)
{
    const ScratchAsset file = writeScratchAsset(
        "settings_mistakes", "window.ini",
        "\xEF\xBB\xBF# comment\n; another\n[window]\nfullscreen false\ntitle = A\n  title = B\nwidth = 640\n\n"
        "[broken\nwidth = 1024\nvsync = yes\nvsync = no\n" + std::string(300, 'x') + "\nheight = 480");
    testing::internal::CaptureStdout();
    const SettingsFile settings(file.relativePath);
    std::string lines;
    for (const char* number : {"4", "9", "13"})
        lines += "WARNING: '" + file.relativePath + "': line " + number +
                 " is not 'key = value' or a [section]. It is ignored.\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines);
    EXPECT_TRUE(settings.getBoolean("window", "fullscreen", true));
    EXPECT_EQ(settings.getString("window", "title", ""), "B");
    EXPECT_EQ(settings.getInteger("window", "width", 0), 1024);
    EXPECT_FALSE(settings.getBoolean("window", "vsync", true));
    EXPECT_EQ(settings.getInteger("window", "height", 0), 480);
}

// A NUL byte ends its own line's text only, and binary garbage harms
// nothing. (Overlong lines are the test above's.)
TEST(SettingsSyntax, NulBytesAndGarbageDoNoHarm)
{
    const SettingsFile nul = SettingsFile::fromText(std::string("[window]\nwidth = 320\n\0\nheight = 240\ntitle = A\0B\n", 48));
    EXPECT_EQ(nul.getInteger("window", "width", 800), 320);
    EXPECT_EQ(nul.getInteger("window", "height", 800), 240);
    EXPECT_EQ(nul.getString("window", "title", ""), "A");

    std::string garbage;
    for (int i = 1; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    const SettingsFile file = SettingsFile::fromText(garbage);
    EXPECT_EQ(file.getInteger("window", "width", 800), 800);
}

// A file not found, or a directory in its place, is reported with the path
// as given, and every look-up gives its default.
TEST(SettingsFiles, AMissingFileIsReportedWithThePathAsGiven)
{
    for (const std::string path : {"assets/settings/no_such_file.ini", "assets/settings"}) {
        testing::internal::CaptureStdout();
        const SettingsFile file(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "ERROR: Failed to load '" + path + "'. Using default values instead.\n");
        EXPECT_EQ(file.getInteger("window", "width", 800), 800);
    }
}

TEST(SettingsFiles, ShippedFilesParseCleanly)
{
    for (const char* path : {"assets/settings/window.ini", "assets/settings/camera_front.ini",
                             "assets/settings/renderer_standard.ini", "assets/settings/camera_wide.ini",
                             "assets/settings/renderer_debug.ini"}) {
        testing::internal::CaptureStdout();
        const SettingsFile file(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << path;
    }
}
