#include "app/settings_file.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

SettingsFile parse(const std::string& text)
{
    return SettingsFile::fromText(text);
}

}  // namespace

TEST(SettingsNumbers, IntegersParseLikeStrtolWithBaseZero)
{
    const SettingsFile file = parse("[window]\nhex = 0x400\nunit = 1024px\nbare = px\noctal = 010\nneg = -5\n");
    EXPECT_EQ(file.getInteger("window", "hex", 7), 1024);
    EXPECT_EQ(file.getInteger("window", "unit", 7), 1024);
    EXPECT_EQ(file.getInteger("window", "bare", 7), 7);
    EXPECT_EQ(file.getInteger("window", "octal", 7), 8);
    EXPECT_EQ(file.getInteger("window", "neg", 7), -5);
    EXPECT_EQ(file.getInteger("window", "absent", 7), 7);
}

TEST(SettingsNumbers, RealsStopAtTrailingTextAndInlineComments)
{
    const SettingsFile file = parse("[camera]\nfov = 75 ; wider than usual\nsemi = 75;wider\nnear = 0.05\nbad = wide\n");
    EXPECT_DOUBLE_EQ(file.getReal("camera", "fov", 60.0), 75.0);
    EXPECT_DOUBLE_EQ(file.getReal("camera", "semi", 60.0), 75.0);
    EXPECT_DOUBLE_EQ(file.getReal("camera", "near", 0.1), 0.05);
    EXPECT_DOUBLE_EQ(file.getReal("camera", "bad", 60.0), 60.0);
}

TEST(SettingsBooleans, AcceptTheUsualWordsInAnyCase)
{
    const SettingsFile file = parse("[w]\na = Yes\nb = off\nc = 1\nd = FALSE\ne = 2\nf = on\n");
    EXPECT_TRUE(file.getBoolean("w", "a", false));
    EXPECT_FALSE(file.getBoolean("w", "b", true));
    EXPECT_TRUE(file.getBoolean("w", "c", false));
    EXPECT_FALSE(file.getBoolean("w", "d", true));
    EXPECT_TRUE(file.getBoolean("w", "e", true));
    EXPECT_FALSE(file.getBoolean("w", "e", false));
    EXPECT_TRUE(file.getBoolean("w", "f", false));
    EXPECT_TRUE(file.getBoolean("w", "missing", true));
}

TEST(SettingsStrings, KeepSemicolonsWithoutWhiteSpaceAndEmptyValues)
{
    const SettingsFile file = parse("[window]\ntitle = My;Game\nempty =\n");
    EXPECT_EQ(file.getString("window", "title", "x"), "My;Game");
    EXPECT_EQ(file.getString("window", "empty", "x"), "");
    EXPECT_EQ(file.getString("window", "absent", "x"), "x");
}

// Names match without regard to case; a repeated key keeps every value on
// lines of its own; keys before any section belong to the empty one.
TEST(SettingsLookup, CaseRepeatsAndTheEmptySection)
{
    const SettingsFile file = parse("width = 5\n[WINDOW]\nWidth = 640\ntitle = A\ntitle = B\nempty =\nempty = C\n");
    EXPECT_EQ(file.getInteger("Window", "WIDTH", 0), 640);
    EXPECT_EQ(file.getString("window", "title", ""), "A\nB");
    EXPECT_EQ(file.getString("window", "empty", ""), "C");  // an empty first value adds no line feed
    EXPECT_EQ(file.getInteger("", "width", 0), 5);
}

TEST(SettingsSyntax, FirstBadLineIsReportedAndTheRestStillCounts)
{
    const SettingsFile file = parse("[window]\nwidth = 640\nthis line is nonsense\nheight = 480\nmore nonsense\n");
    EXPECT_EQ(file.parseError(), 3);
    EXPECT_EQ(file.getInteger("window", "width", 0), 640);
    EXPECT_EQ(file.getInteger("window", "height", 0), 480);
}

TEST(SettingsSyntax, ByteOrderMarkCommentsAndContinuationLines)
{
    const SettingsFile file = parse("\xEF\xBB\xBF# comment\n; another\n[window]\ntitle = A\n  B\n");
    EXPECT_EQ(file.parseError(), 0);
    EXPECT_EQ(file.getString("window", "title", ""), "A\nB");
}

TEST(SettingsSyntax, OverlongLinesAreReadInPiecesWithoutHarm)
{
    const std::string longValue(1000, 'x');
    const SettingsFile file = parse("[window]\ntitle = " + longValue + "\nwidth = 640\n");
    EXPECT_EQ(file.getInteger("window", "width", 0), 640);
    const std::string title = file.getString("window", "title", "");
    EXPECT_FALSE(title.empty());
    EXPECT_LT(title.size(), longValue.size());
}

TEST(SettingsSyntax, BinaryGarbageNeverCrashes)
{
    std::string garbage;
    for (int i = 1; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    const SettingsFile file = parse(garbage);
    EXPECT_NE(file.parseError(), 0);
    EXPECT_EQ(file.getInteger("window", "width", 800), 800);
    const SettingsFile withNul = parse(std::string("[window]\nwidth = 640\n\0\x01\x02", 22) + garbage);
    EXPECT_EQ(withNul.getInteger("window", "width", 800), 640);
}

TEST(SettingsSyntax, NulByteSpoilsOnlyItsOwnLine)
{
    const SettingsFile file = parse(std::string("[window]\nwidth = 320\n\0\nheight = 240\ntitle = A\0B\n", 48));
    EXPECT_EQ(file.getInteger("window", "width", 800), 320);
    EXPECT_EQ(file.getInteger("window", "height", 800), 240);
    EXPECT_EQ(file.getString("window", "title", ""), "A");
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
