#include "allocation_counter.h"

#include "audio/game_sound.h"
#include "game/course.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Everything here plays into OpenAL Soft's null backend: no speakers, no sound server.
class GameSoundTest : public testing::Test {
protected:
    static void SetUpTestSuite() { setenv("ALSOFT_DRIVERS", "null", 1); }
};

std::string inRepository(const std::string& relative)
{
    return std::string(GLIMMERDEEP_SOURCE_DIR) + "/" + relative;
}

std::filesystem::path damagedFolder;  // where inRepositoryButTheChime finds its chime

// The repository's sounds, but the chime from damagedFolder.
std::string inRepositoryButTheChime(const std::string& relative)
{
    const std::filesystem::path chime = damagedFolder / "chime.wav";
    if (relative != "assets/sounds/chime.wav")
        return inRepository(relative);
    return std::filesystem::exists(chime) ? chime.string() : "";
}

struct AlObjects {
    int buffers = 0;
    int sources = 0;
    bool operator==(const AlObjects& other) const { return buffers == other.buffers && sources == other.sources; }
};

// The live buffers and sources of the current context, asked name by name.
AlObjects countLiveAlObjects()
{
    AlObjects live;
    for (ALuint name = 1; name <= 1024; ++name) {
        live.buffers += alIsBuffer(name) ? 1 : 0;
        live.sources += alIsSource(name) ? 1 : 0;
    }
    return live;
}

}  // namespace

// Every sound loaded and the fixed pool of sources made at start-up; then
// frames with rings, pauses, a fall, a new run and a win make no object,
// allocate nothing and raise no OpenAL error.
TEST_F(GameSoundTest, OpensEverySoundAndItsFramesMakeNothing)
{
    std::ostringstream console;
    GameSound sound = GameSound::open(AudioSettings{}, inRepository, console);
    ASSERT_TRUE(sound.audible());
    EXPECT_EQ(console.str(), "");
    const AlObjects atStart = countLiveAlObjects();
    EXPECT_EQ(atStart, (AlObjects{static_cast<int>(soundCount), voiceCount}));
    const Course classic;
    SoundFrame frame;
    frame.timeStep = 1.0f / 30.0f;
    frame.ringCentres = &classic.rings;
    sound.update(frame);
    AllocationCounter allocations;
    for (int i = 0; i < 300; ++i) {
        frame.runTime = (i % 150 + 1) * frame.timeStep;  // a new run half way
        frame.ringsPassed = (1u << (i % 150 / 10)) - 1u;
        frame.paused = i % 40 > 35;
        frame.falling = i % 150 > 100;
        frame.end = i % 150 > 140 ? RunEnd::won : RunEnd::none;
        frame.fairy.y = 0.5f + 0.08f * static_cast<float>(i % 150);
        sound.update(frame);
    }
    EXPECT_EQ(allocations.count(), 0);
    EXPECT_EQ(countLiveAlObjects(), atStart);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

// A sound file that is missing, not a sound, or not mono: one line naming
// it and what is wrong, and only that sound is silent.
TEST_F(GameSoundTest, AFileThatCannotBePlayedSilencesItsSoundWithOneLine)
{
    damagedFolder = std::filesystem::path(testing::TempDir()) / "damaged_sounds";
    const struct {
        const char* content;  // nullptr: no file; "stereo": a stereo WAV
        const char* reason;
    } cases[] = {
        {nullptr, "it is missing"},
        {"RIFF, but no sound", "recognised"},  // libsndfile's own words: "Format not recognised"
        {"stereo", "it has 2 channels, not one"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(damagedFolder);
        std::filesystem::create_directories(damagedFolder);
        const std::string chime = (damagedFolder / "chime.wav").string();
        if (c.content && std::string(c.content) == "stereo") {
            SF_INFO info{0, 22050, 2, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0, 0};
            SNDFILE* file = sf_open(chime.c_str(), SFM_WRITE, &info);
            const short frames[4] = {0, 0, 100, 100};
            sf_writef_short(file, frames, 2);
            sf_close(file);
        } else if (c.content) {
            std::ofstream(chime) << c.content;
        }
        std::ostringstream console;
        GameSound sound = GameSound::open(AudioSettings{}, inRepositoryButTheChime, console);
        const std::string line = console.str();
        EXPECT_EQ(line.rfind("Sound file 'assets/sounds/chime.wav' cannot be played: ", 0), 0u) << line;
        EXPECT_NE(line.find(c.reason), std::string::npos) << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
        EXPECT_EQ(countLiveAlObjects().buffers, static_cast<int>(soundCount) - 1);
        const Course classic;
        SoundFrame frame;
        frame.ringCentres = &classic.rings;
        frame.ringsPassed = 1u;
        sound.update(frame);
        EXPECT_EQ(alGetError(), AL_NO_ERROR);
    }
}

TEST_F(GameSoundTest, SoundOffOpensNothingAndSaysNothing)
{
    std::ostringstream console;
    AudioSettings off;
    off.enabled = false;
    GameSound sound = GameSound::open(off, inRepository, console);
    EXPECT_FALSE(sound.audible());
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(alcGetCurrentContext(), nullptr);
    sound.update(SoundFrame{});
}

// A moved-from owner holds 0 and deletes nothing; the last owner deletes.
TEST_F(GameSoundTest, OwnersDeleteOnceAndMovedFromOnesHoldNothing)
{
    OpenFailure failure = OpenFailure::none;
    AudioDevice device = openAudioDevice(failure);
    ASSERT_TRUE(device.isOpen());
    {
        SoundBuffer buffer = makeSoundBuffer();
        SoundSource source = makeSoundSource();
        SoundBuffer movedBuffer = std::move(buffer);
        SoundSource movedSource;
        movedSource = std::move(source);
        EXPECT_EQ(buffer.name(), 0u);
        EXPECT_EQ(source.name(), 0u);
        EXPECT_EQ(countLiveAlObjects(), (AlObjects{1, 1}));
    }
    EXPECT_EQ(countLiveAlObjects(), (AlObjects{0, 0}));
    AudioDevice moved = std::move(device);
    EXPECT_FALSE(device.isOpen());
    EXPECT_TRUE(moved.isOpen());
}
