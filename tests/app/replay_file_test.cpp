// Replay files as the game writes and reads them: what is written reads back
// exactly, a recording cut after a whole frame plays, and anything else that
// is wrong is named in words for the player.
#include "app/replay.h"
#include "support/test_paths.h"

#include "app/replay_writer.h"
#include "framework/file_io.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <iomanip>
#include <sstream>

namespace {

const CourseId spiral{"spiral stairs", 0x0123456789abcdefull};
const CourseId classic{"classic", 0xfedcba9876543210ull};

Replay sampleReplay()
{
    Replay replay;
    // fov, near, far (neither written), yaw, pitch, sensitivity, invert y
    const CameraSettings camera{75.5f, 0.1f, 100.0f, -1.25f, 0.3f, 0.0035f, true};
    replay.header = {"1.1.0", camera, 4294967295u, {-12.5, 1e9}, spiral};
    // held: forward, back, left, right, up, down
    const ReplayFrame quiet{1.0f / 144.0f, {true, true, false, false, false, true}, {0.1, -0.2}, 1920, 1080, {}};
    ReplayFrame busy{0.25f, {false, false, true, true, true, false}, {0.1, -0.2}, 0, 1080, {}};  // minimised
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
        << h.startCursor.x << ' ' << h.startCursor.y << ' ' << (h.course ? h.course->name : "none") << ' '
        << (h.course ? h.course->hash : 0) << " end " << replay.endHash.has_value() << ' '
        << replay.endHash.value_or(0) << " player mode " << h.playerMode;
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
// A replay without a course (from before courses had files) is the classic
// course's, whatever its hash.
TEST(ReplayFile, ReadsBackExactlyWhatWasWrittenAlsoCutAfterAWholeFrame)
{
    Replay written = sampleReplay();
    for (std::size_t frames : {3, 2, 0}) {
        written.frames.resize(frames);
        written.header.playerMode = frames == 2;
        std::string text = formatReplay(written);
        if (frames == 3)
            text.replace(text.find(" click"), 0, " k-1");
        const ReplayParse parse = parseReplay(text);
        ASSERT_TRUE(parse.replay) << parse.error;
        EXPECT_EQ(fieldsOf(*parse.replay), fieldsOf(written));
        EXPECT_EQ(courseMismatch(parse.replay->header, written.header.course ? spiral : classic), "");
        written.endHash.reset();
        written.header.course.reset();
    }
    EXPECT_EQ(courseMismatch(written.header, spiral),
              "it was recorded on course 'classic', not on course 'spiral stairs' (0123456789abcdef)");
}

// What keeps a replay from playing on the classic course here.
TEST(ReplayFile, NamesWhatIsWrong)
{
    ReplayHeader noCourse = sampleReplay().header;
    noCourse.course.reset();
    const std::string header = formatReplayHeader(noCourse);
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
        {"glimmerdeep-replay 3\n", "it was recorded in format 3, newer than this game reads (2)"},
        {formatReplayHeader(sampleReplay().header) + frame,
         "it was recorded on course 'spiral stairs' (0123456789abcdef), not on course 'classic' (fedcba9876543210)"},
        {header + "course 0123456789abcdef classic\n",
         "it was recorded on course 'classic' (0123456789abcdef), not on course 'classic' (fedcba9876543210)"},
        {header + "course 0123456789abcdef\n",
         "it has a course line without a course's hash and name"},
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
        EXPECT_EQ(parse.replay ? courseMismatch(parse.replay->header, classic) : parse.error, c.error)
            << "for:\n" << c.text;
    }
}

// A recording cut short keeps its whole frames: the writer dropped without
// its end line (a kill), also with standard input closed, so that the file
// gets descriptor 0 (and a file the game looks for there still counts); or a
// disk that fills on the way (here a size limit: a write cut short inside a
// line, then refused), which stops the recording with one line.
TEST(ReplayWriter, ACutRecordingKeepsItsWholeFramesAlsoOnAFullDiskOrWithoutStandardInput)
{
    const std::string dir = makeScratchDir("replay_cut");
    writeFile(dir + "/exists", "x");
    const Replay replay = sampleReplay();
    const std::string line = formatReplayFrame(replay.frames[0]);
    for (const bool diskFills : {false, true}) {
        std::string kept = formatReplayHeader(replay.header);
        for (int i = 0; i < (diskFills ? 1000 : 3000); ++i)
            kept += line;
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limit{diskFills ? kept.size() + line.size() / 2 : saved.rlim_cur, saved.rlim_max};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const int savedInput = dup(STDIN_FILENO);
        close(STDIN_FILENO);
        EXPECT_TRUE(isReadableFile(dir + "/exists"));
        std::ostringstream console;
        {
            ReplayWriter writer(console);
            writer.open(dir + "/cut.replay", replay.header);
            for (int i = 0; i < 3000; ++i)  // enough to be written out on the way
                writer.writeFrame(replay.frames[0]);
        }
        dup2(savedInput, STDIN_FILENO);
        close(savedInput);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_DFL);
        EXPECT_EQ(console.str(), diskFills ? "Cannot record to '" + dir + "/cut.replay': " + std::strerror(EFBIG) +
                                                 ". The recording stops at its last whole frame.\n"
                                           : "");
        EXPECT_EQ(readWholeFile(dir + "/cut.replay"), kept);
    }
}
