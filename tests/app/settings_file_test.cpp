#include "app/settings_file.h"

#include <gtest/gtest.h>
#include <ini.h>

#include <cstring>

// Integers read like strtol with base 0 and reals like strtod, both ignoring
// what follows the number; booleans take the usual words in any case;
// strings keep a semicolon with no white space before it. Anything else, and
// a key not there, gives the default. (Hex numbers, inline comments and on,
// off and no are the Settings tests'.) Names match without regard to case; a
// repeated key keeps every value on lines of its own; keys before any section
// belong to the empty one.
TEST(SettingsFile, ValuesAreReadAsTheirKind)
{
    const SettingsFile file = SettingsFile::fromText(
        "width = 5\n[n]\nunit = 1024px\nbare = px\noctal = 010\nneg = -5\nsemi = 75;wider\nnear = 0.05\n"
        "[b]\na = Yes\nc = 1\nd = FALSE\ne = 2\n"
        "[WINDOW]\nWidth = 640\ntitle = My;Game\ntitle = B\nempty =\nempty = C\nblank =\n");
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
    EXPECT_EQ(file.getString("window", "title", "x"), "My;Game\nB");
    EXPECT_EQ(file.getString("window", "empty", "x"), "C");  // an empty first value adds no line feed
    EXPECT_EQ(file.getString("window", "blank", "x"), "");
    EXPECT_EQ(file.getString("window", "absent", "x"), "x");
    EXPECT_EQ(file.getInteger("", "width", 0), 5);
}

// A byte order mark, comments and continuation lines are no errors; the
// first bad line is reported and the rest still counts.
TEST(SettingsSyntax, FirstBadLineIsReportedAndTheRestStillCounts)
{
    const SettingsFile file = SettingsFile::fromText("\xEF\xBB\xBF# comment\n; another\n[window]\ntitle = A\n  B\nwidth = 640\n"
                                    "this line is nonsense\nheight = 480\nmore nonsense\n");
    EXPECT_EQ(file.parseError(), 7);
    EXPECT_EQ(file.getString("window", "title", ""), "A\nB");
    EXPECT_EQ(file.getInteger("window", "width", 0), 640);
    EXPECT_EQ(file.getInteger("window", "height", 0), 480);
}

// Overlong lines are read in pieces, a NUL byte ends its own line's text
// only, and binary garbage is an error that harms nothing.
TEST(SettingsSyntax, OverlongLinesNulBytesAndGarbageDoNoHarm)
{
    const std::string longValue(1000, 'x');
    const SettingsFile overlong = SettingsFile::fromText("[window]\ntitle = " + longValue + "\nwidth = 640\n");
    EXPECT_EQ(overlong.getInteger("window", "width", 0), 640);
    // The first piece fills the parser's line buffer, key and terminator included.
    EXPECT_EQ(overlong.getString("window", "title", "").size(), INI_MAX_LINE - 1 - std::strlen("title = "));

    const SettingsFile nul = SettingsFile::fromText(std::string("[window]\nwidth = 320\n\0\nheight = 240\ntitle = A\0B\n", 48));
    EXPECT_EQ(nul.getInteger("window", "width", 800), 320);
    EXPECT_EQ(nul.getInteger("window", "height", 800), 240);
    EXPECT_EQ(nul.getString("window", "title", ""), "A");

    std::string garbage;
    for (int i = 1; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    const SettingsFile file = SettingsFile::fromText(garbage);
    EXPECT_NE(file.parseError(), 0);
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
        EXPECT_EQ(file.parseError(), -1);
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
        EXPECT_EQ(file.parseError(), 0) << path;
    }
}
