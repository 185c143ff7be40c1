#include "app/settings_file.h"
#include "app/settings_table.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <sstream>

// Integers read like strtol with base 0 and reals like strtod, both ignoring
// what follows the number; booleans take the usual words in any case.
// Anything else reads as nothing. Names match without regard to case; keys
// before any section belong to the empty one; strings keep a semicolon with
// no white space before it.
TEST(SettingsFile, ValuesAreReadAsTheirKind)
{
    for (const auto& [text, number] : {std::pair{"1024px", 1024L}, {"0x400", 1024L}, {"010", 8L}, {"-5", -5L}})
        EXPECT_EQ(parseInteger(text), number) << text;
    EXPECT_EQ(parseInteger("px"), std::nullopt);
    EXPECT_EQ(parseReal("75;wider"), 75.0);
    EXPECT_EQ(parseReal("0.05"), 0.05);
    EXPECT_EQ(parseReal("px"), std::nullopt);
    for (const auto& [text, flag] : {std::pair{"Yes", true}, {"on", true}, {"1", true}, {"FALSE", false}, {"no", false}})
        EXPECT_EQ(parseBoolean(text), flag) << text;
    EXPECT_EQ(parseBoolean("2"), std::nullopt);

    const SettingsFile file =
        SettingsFile::fromText("width = 5\n[WINDOW]\nWidth = 640\ntitle = My;Game\nfov = 75 ; wide\nblank =\n");
    EXPECT_EQ(file.value("Window", "WIDTH"), "640");
    EXPECT_EQ(file.value("window", "title"), "My;Game");
    EXPECT_EQ(file.value("window", "fov"), "75");
    EXPECT_EQ(file.value("window", "blank"), "");
    EXPECT_EQ(file.value("window", "absent"), std::nullopt);
    EXPECT_EQ(file.value("", "width"), "5");
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
    std::ostringstream console;
    const SettingsFile settings(file.relativePath, console);
    std::string lines;
    for (const char* number : {"4", "9", "13"})
        lines += "WARNING: '" + file.relativePath + "': line " + number +
                 " is not 'key = value' or a [section]. It is ignored.\n";
    EXPECT_EQ(console.str(), lines);
    EXPECT_EQ(settings.value("window", "fullscreen"), std::nullopt);
    EXPECT_EQ(settings.value("window", "title"), "B");
    EXPECT_EQ(settings.value("window", "width"), "1024");
    EXPECT_EQ(settings.value("window", "vsync"), "no");
    EXPECT_EQ(settings.value("window", "height"), "480");
}

// A NUL byte ends its own line's text only, and binary garbage harms
// nothing. (Overlong lines are the test above's.)
TEST(SettingsSyntax, NulBytesAndGarbageDoNoHarm)
{
    const SettingsFile nul = SettingsFile::fromText(std::string("[window]\nwidth = 320\n\0\nheight = 240\ntitle = A\0B\n", 48));
    EXPECT_EQ(nul.value("window", "width"), "320");
    EXPECT_EQ(nul.value("window", "height"), "240");
    EXPECT_EQ(nul.value("window", "title"), "A");

    std::string garbage;
    for (int i = 1; i < 4096; ++i)
        garbage.push_back(static_cast<char>((i * 7919) & 0xFF));
    const SettingsFile file = SettingsFile::fromText(garbage);
    EXPECT_EQ(file.value("window", "width"), std::nullopt);
}

// A file not found, or a directory in its place, is reported with the path
// as given, and has no keys.
TEST(SettingsFiles, AMissingFileIsReportedWithThePathAsGiven)
{
    for (const std::string path : {"assets/settings/no_such_file.ini", "assets/settings"}) {
        std::ostringstream console;
        const SettingsFile file(path, console);
        EXPECT_EQ(console.str(), "ERROR: Failed to load '" + path + "'. Using default values instead.\n");
        EXPECT_EQ(file.value("window", "width"), std::nullopt);
    }
}

// The shipped files read without a line, and each holds every key of its
// section, so a player finds them all there.
TEST(SettingsFiles, ShippedFilesParseCleanlyAndHoldEveryKey)
{
    for (const char* path : {"assets/settings/camera_wide.ini", "assets/settings/renderer_debug.ini"}) {
        std::ostringstream console;
        const SettingsFile file(path, console);
        EXPECT_EQ(console.str(), "") << path;
    }
    for (const SettingsFileInfo& shipped : settingsFiles()) {
        std::ostringstream console;
        const SettingsFile file(shipped.shippedPath, console);
        EXPECT_EQ(console.str(), "") << shipped.shippedPath;
        for (const SettingKey& key : settingsTable())
            EXPECT_TRUE(key.file != shipped.id || file.value(sectionOf(key), key.name)) << key.name;
    }
}
