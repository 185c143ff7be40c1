// Replay files as the game writes and reads them: what is written reads back
// exactly, a recording cut after a whole frame plays, and anything else that
// is wrong is named in words for the player.
#include "app/replay.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    quiet.keys.down = true;
    quiet.cursor = {0.1, -0.2};
    quiet.framebufferWidth = 1920;
    quiet.framebufferHeight = 1080;
    ReplayFrame busy = quiet;
    busy.timeStep = 0.25f;
    busy.keys = {};
    busy.keys.left = true;
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

std::string textOf(const Replay& replay)
{
    std::string text = formatReplayHeader(replay.header);
    for (const ReplayFrame& frame : replay.frames)
        text += formatReplayFrame(frame);
    if (replay.endHash)
        text += formatReplayEnd(*replay.endHash);
    return text;
}

void expectSameFrames(const std::vector<ReplayFrame>& read, const std::vector<ReplayFrame>& written)
{
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_EQ(read[i].timeStep, written[i].timeStep);
        EXPECT_EQ(formatReplayFrame(read[i]), formatReplayFrame(written[i]));
        EXPECT_EQ(read[i].cursor.x, written[i].cursor.x);
        EXPECT_EQ(read[i].cursor.y, written[i].cursor.y);
        EXPECT_EQ(read[i].keys.forward, written[i].keys.forward);
        EXPECT_EQ(read[i].keys.down, written[i].keys.down);
        EXPECT_EQ(read[i].keys.up, written[i].keys.up);
        EXPECT_EQ(read[i].keys.left, written[i].keys.left);
        EXPECT_EQ(read[i].events.keyReleaseCount, written[i].events.keyReleaseCount);
        EXPECT_EQ(read[i].events.keyReleases, written[i].events.keyReleases);
        EXPECT_EQ(read[i].events.clicked, written[i].events.clicked);
        EXPECT_EQ(read[i].events.focusLost, written[i].events.focusLost);
    }
}

}  // namespace

TEST(ReplayFile, ReadsBackExactlyWhatWasWritten)
{
    const Replay written = sampleReplay();
    const ReplayParse parse = parseReplay(textOf(written));
    ASSERT_TRUE(parse.replay) << parse.error;
    const Replay& read = *parse.replay;
    EXPECT_EQ(read.header.gameVersion, "1.1.0");
    EXPECT_EQ(read.header.camera.fov, 75.5f);
    EXPECT_EQ(read.header.camera.yaw, -1.25f);
    EXPECT_EQ(read.header.camera.pitch, 0.3f);
    EXPECT_EQ(read.header.camera.mouseSensitivity, 0.0035f);
    EXPECT_TRUE(read.header.camera.invertY);
    EXPECT_EQ(read.header.seed, 4294967295u);
    EXPECT_EQ(read.header.startCursor.x, -12.5);
    EXPECT_EQ(read.header.startCursor.y, 1e9);
    expectSameFrames(read.frames, written.frames);
    EXPECT_EQ(read.endHash, written.endHash);
}

// A recording cut short after a whole frame line (Escape, a kill) plays up
// to there; it just has no hash to compare with.
TEST(ReplayFile, ACutAfterAWholeFramePlaysUpToThere)
{
    Replay written = sampleReplay();
    written.endHash.reset();
    written.frames.pop_back();
    const ReplayParse parse = parseReplay(textOf(written));
    ASSERT_TRUE(parse.replay) << parse.error;
    expectSameFrames(parse.replay->frames, written.frames);
    EXPECT_FALSE(parse.replay->endHash);

    written.frames.clear();
    EXPECT_TRUE(parseReplay(textOf(written)).replay) << "a header alone is a run of no frames";
}

TEST(ReplayFile, NamesWhatIsWrong)
{
    const std::string header = formatReplayHeader(sampleReplay().header);
    const std::string frame = "frame 0.016 1 0 0 800 600\n";
    std::string tooManyKeys;
    for (int i = 0; i <= WindowEvents::capacity; ++i)
        tooManyKeys += " k80";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "the file is empty"},
        {"\x89PNG\r\n", "it is not a Glimmerdeep replay"},
        {"glimmerdeep-replay\n", "it has no format version"},
        {"glimmerdeep-replay 0\n", "it has no format version"},
        {"glimmerdeep-replay 99999999999999999999\n", "it has no format version"},
        {"glimmerdeep-replay 2\n", "it was recorded in format 2, newer than this game reads (1)"},
        {header.substr(0, header.rfind("cursor")), "it ends inside its header"},
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
        {"glimmerdeep-replay 1\ngame 1\ncamera 60 0 0 0.002 0\nseed 1\ncursor 0 inf\n",
         "it has no start cursor in its header"},
        {header + frame + "frame 0.016 1 0 0 800\n", "line 7 has too few values"},
        {header + "frame 0.3 1 0 0 800 600\n", "line 6 has a time step that is no number from 0 to 0.25"},
        {header + "frame nan 1 0 0 800 600\n", "line 6 has a time step that is no number from 0 to 0.25"},
        {header + "frame 0.016 64 0 0 800 600\n", "line 6 has held keys that are no number from 0 to 63"},
        {header + "frame 0.016 1 0 1e999 800 600\n", "line 6 has a cursor position that is no finite number"},
        {header + "frame 0.016 1 0 0 -1 600\n", "line 6 has a window size outside 0 to 65535"},
        {header + "frame 0.016 1 0 0 800 600 k349\n", "line 6 names a key that does not exist (k349)"},
        {header + "frame 0.016 1 0 0 800 600 kx\n", "line 6 names a key that does not exist (kx)"},
        {header + "frame 0.016 1 0 0 800 600 jump\n", "line 6 has an event the game does not know (jump)"},
        {header + "frame 0.016 1 0 0 800 600" + tooManyKeys + "\n", "line 6 releases more keys than one frame can"},
        {header + "jump\n", "line 6 is no frame"},
        {header + frame + "end 12345\n", "line 7 has an end without a run hash"},
        {header + frame + "end -123456789abcde\n", "line 7 has an end without a run hash"},
        {header + "end 0123456789abcdef\n" + frame, "line 7 follows the end"},
        {header + frame + "frame 0.016 1", "it ends inside line 7"},
    };
    for (const auto& c : cases) {
        const ReplayParse parse = parseReplay(c.text);
        EXPECT_FALSE(parse.replay) << c.error;
        EXPECT_EQ(parse.error, c.error) << "for:\n" << c.text;
    }
}
