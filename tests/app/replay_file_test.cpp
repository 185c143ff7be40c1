// Replay files as the game writes and reads them: what is written reads back
// exactly, a recording cut after a whole frame plays, and anything else that
// is wrong is named in words for the player.
#include "support/replay_text.h"
#include "support/test_paths.h"

#include "app/replay_writer.h"
#include "framework/file_io.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <unistd.h>

namespace {

Replay sampleReplay()
{
    Replay replay;
    replay.header.gameVersion = "1.1.0";
    replay.header.camera.fov = 75.5f;
    replay.header.camera.yaw = -1.25f;
    replay.header.camera.pitch = 0.3f;
    replay.header.camera.mouseSensitivity = 0.0035f;
    replay.header.camera.invertY = true;
    replay.header.seed = 4294967295u;
    replay.header.startCursor = {-12.5, 1e9};

    ReplayFrame quiet;
    quiet.timeStep = 1.0f / 144.0f;
    quiet.keys.forward = true;
    quiet.keys.back = true;
    quiet.keys.down = true;
    quiet.cursor = {0.1, -0.2};
    quiet.framebufferWidth = 1920;
    quiet.framebufferHeight = 1080;
    ReplayFrame busy = quiet;
    busy.timeStep = 0.25f;
    busy.keys = {};
    busy.keys.left = true;
    busy.keys.right = true;
    busy.keys.up = true;
    busy.framebufferWidth = 0;  // minimised
    busy.events.release(GLFW_KEY_P);
    busy.events.release(GLFW_KEY_ESCAPE);
    busy.events.clicked = true;
    busy.events.focusLost = true;
    replay.frames = {quiet, busy, quiet};
    replay.endHash = 0xfedcba9876543210ull;
    return replay;
}

// Every field of a replay at full precision, to compare what was read with
// what was written without trusting the game's own formatting.
std::string fieldsOf(const Replay& replay)
{
    const ReplayHeader& h = replay.header;
    std::ostringstream out;
    out << std::setprecision(17) << h.gameVersion << ' ' << h.camera.fov << ' ' << h.camera.yaw << ' '
        << h.camera.pitch << ' ' << h.camera.mouseSensitivity << ' ' << h.camera.invertY << ' ' << h.seed << ' '
        << h.startCursor.x << ' ' << h.startCursor.y << " end " << replay.endHash.has_value() << ' '
        << replay.endHash.value_or(0);
    for (const ReplayFrame& f : replay.frames) {
        const HeldKeys& k = f.keys;
        out << '\n' << f.timeStep << ' ' << k.forward << k.back << k.left << k.right << k.up << k.down << ' '
            << f.cursor.x << ' ' << f.cursor.y << ' ' << f.framebufferWidth << 'x' << f.framebufferHeight << ' '
            << f.events.clicked << f.events.focusLost;
        for (int i = 0; i < f.events.keyReleaseCount; ++i)
            out << " k" << f.events.keyReleases[i];
    }
    return out.str();
}

}  // namespace

// What is written reads back exactly. A recording cut short after a whole
// frame line (Escape, a kill) plays up to there, with no hash to compare
// with; a header alone is a run of no frames. A key without a name (k-1, a
// media key earlier builds wrote) is no key of the game and reads as none.
TEST(ReplayFile, ReadsBackExactlyWhatWasWrittenAlsoCutAfterAWholeFrame)
{
    Replay written = sampleReplay();
    for (std::size_t frames : {3, 2, 0}) {
        written.frames.resize(frames);
        std::string text = formatReplay(written);
        if (frames == 3)
            text.replace(text.find(" click"), 0, " k-1");
        const ReplayParse parse = parseReplay(text);
        ASSERT_TRUE(parse.replay) << parse.error;
        EXPECT_EQ(fieldsOf(*parse.replay), fieldsOf(written));
        written.endHash.reset();
    }
}

TEST(ReplayFile, NamesWhatIsWrong)
{
    const std::string header = formatReplayHeader(sampleReplay().header);
    const std::string frame = "frame 0.016 1 0 0 800 600\n";
    // A frame holds at most 32 key releases, in every build that shares replays.
    std::string tooManyKeys;
    for (int i = 0; i < 33; ++i)
        tooManyKeys += " k80";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"glimmerdeep-replay\n", "it has no format version"},
        {"glimmerdeep-replay 0\n", "it has no format version"},
        {"glimmerdeep-replay 99999999999999999999\n", "it has no format version"},
        {"glimmerdeep-replay 1\nversion 1.1.0\n" + header.substr(header.find("camera")),
         "it has no game version in its header"},
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0.002\nseed 1\ncursor 0 0\n",
         "it has no camera line in its header"},
        {"glimmerdeep-replay 1\ngame 1\ncamera 180 0 0 0.002 0\nseed 1\ncursor 0 0\n",
         "it has camera values the game cannot use"},
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0 0\nseed 1\ncursor 0 0\n",
         "it has camera values the game cannot use"},
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0.002 2\nseed 1\ncursor 0 0\n",
         "it has camera values the game cannot use"},
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 1e39 0 0.002 0\nseed 1\ncursor 0 0\n",
         "it has camera values the game cannot use"},  // no float holds that yaw
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0.002 0\nseed 4294967296\ncursor 0 0\n",
         "it has no particle seed in its header"},
        {std::string("glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0.002 0\nseed 12\0 3\ncursor 0 0\n", 72),
         "it has no particle seed in its header"},
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0.002 0\nseed 1\ncursor 0 1e39\n",
         "it has no start cursor in its header"},  // finite as a double, not as the float the view turns by
        {header + frame + "frame 0.016 1 0 0 800\n", "line 7 has too few values"},
        {header + "frame 0.3 1 0 0 800 600\n", "line 6 has a time step that is no number from 0 to 0.25"},
        {header + "frame nan 1 0 0 800 600\n", "line 6 has a time step that is no number from 0 to 0.25"},
        {header + "frame 0.016 64 0 0 800 600\n", "line 6 has held keys that are no number from 0 to 63"},
        {header + "frame 0.016 1 1e300 0 800 600\n", "line 6 has a cursor position that is no finite number"},
        {header + "frame 0.016 1 0 0 -1 600\n", "line 6 has a window size outside 0 to 65535"},
        {header + "frame 0.016 1 0 0 800 600 k349\n", "line 6 names a key that does not exist (k349)"},
        {header + "frame 0.016 1 0 0 800 600 kx\n", "line 6 names a key that does not exist (kx)"},
        {header + "frame 0.016 1 0 0 800 600 jump\n", "line 6 has an event the game does not know (jump)"},
        {header + "frame 0.016 1 0 0 800 600" + tooManyKeys + "\n", "line 6 releases more keys than one frame can"},
        {header + "jump\n", "line 6 is no frame"},
        {header + frame + "end 12345\n", "line 7 has an end without a run hash"},
        {header + frame + "end -123456789abcde\n", "line 7 has an end without a run hash"},
        {header + "end 0123456789abcdef\n" + frame, "line 7 follows the end"},
    };
    for (const auto& c : cases) {
        const ReplayParse parse = parseReplay(c.text);
        EXPECT_FALSE(parse.replay) << c.error;
        EXPECT_EQ(parse.error, c.error) << "for:\n" << c.text;
    }
}

// Started with standard input closed, the game gets descriptor 0 for the
// first file it opens: that file still counts, and a recording cut short
// there still keeps its frames.
TEST(ReplayWriter, KeepsItsFramesWithStandardInputClosed)
{
    const std::string dir = makeScratchDir("replay_without_input");
    writeFile(dir + "/exists", "x");
    const Replay replay = sampleReplay();
    const int savedInput = dup(STDIN_FILENO);
    close(STDIN_FILENO);
    const bool found = isReadableFile(dir + "/exists");
    {
        ReplayWriter writer;
        writer.open(dir + "/cut.replay", replay.header);
        writer.writeFrame(replay.frames.front());
    }
    dup2(savedInput, STDIN_FILENO);
    close(savedInput);
    EXPECT_TRUE(found);
    EXPECT_EQ(readWholeFile(dir + "/cut.replay"),
              formatReplayHeader(replay.header) + formatReplayFrame(replay.frames.front()));
}
