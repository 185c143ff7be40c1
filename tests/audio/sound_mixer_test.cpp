#include "allocation_counter.h"

#include "audio/sound_mixer.h"
#include "game/course.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace {

const Course classic;

// A run heard frame by frame, 30 frames a second, the fairy climbing at flight speed.
struct HeardRun {
    explicit HeardRun(AudioSettings volumes = {}) : mixer(volumes)
    {
        frame.timeStep = 1.0f / 30.0f;
        frame.ringCentres = &classic.rings;
    }

    const SoundMix& step()
    {
        frame.runTime += frame.timeStep;
        frame.fairy.y += 2.5f * frame.timeStep;
        return mixer.step(frame);
    }

    SoundMixer mixer;
    SoundFrame frame;
};

// The voices given `cue` this frame.
std::vector<int> cued(const SoundMix& mix, Cue cue)
{
    std::vector<int> voices;
    for (int i = 0; i < voiceCount; ++i) {
        if (mix.voices[i].cue == cue)
            voices.push_back(i);
    }
    return voices;
}

}  // namespace

// Each of the rules' events starts its one sound, from where it happened,
// and a frame without an event starts none.
TEST(SoundMixer, EachEventStartsItsSoundWhereItHappens)
{
    using Change = std::function<void(SoundFrame&)>;
    const glm::vec3 atListener{0.0f};
    const struct {
        const char* event;
        Change before, after;
        std::optional<SoundId> sound;
        bool heardAtListener;
        std::optional<glm::vec3> where;  // none: at the fairy
        float pitch;
    } cases[] = {
        {"ring 3 passed", [](SoundFrame&) {}, [](SoundFrame& f) { f.ringsPassed |= 1u << 2; }, SoundId::chime, false,
         classic.rings[2], chimePitch(2)},
        {"power below a fifth", [](SoundFrame& f) { f.power = 20.1f; }, [](SoundFrame& f) { f.power = 19.9f; },
         SoundId::lowPower, true, atListener, 1.0f},
        {"power ran out", [](SoundFrame& f) { f.power = 0.1f; },
         [](SoundFrame& f) { f.power = 0.0f; f.falling = true; }, SoundId::powerOut, false, std::nullopt, 1.0f},
        {"fell into the water", [](SoundFrame& f) { f.falling = true; }, [](SoundFrame& f) { f.end = RunEnd::lost; },
         SoundId::splash, false, std::nullopt, 1.0f},
        {"won", [](SoundFrame&) {}, [](SoundFrame& f) { f.end = RunEnd::won; }, SoundId::fanfare, true, atListener,
         1.0f},
        {"still below a fifth", [](SoundFrame& f) { f.power = 19.0f; }, [](SoundFrame& f) { f.power = 18.0f; },
         std::nullopt, false, std::nullopt, 1.0f},
        {"ring passed before", [](SoundFrame& f) { f.ringsPassed = 1u; }, [](SoundFrame&) {}, std::nullopt, false,
         std::nullopt, 1.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.event);
        HeardRun run;
        c.before(run.frame);
        run.step();
        c.after(run.frame);
        const SoundMix& mix = run.step();
        std::vector<int> started = cued(mix, Cue::start);
        // The wings start and stop with the flight, not with events.
        started.erase(std::remove(started.begin(), started.end(), wingsVoice), started.end());
        if (!c.sound) {
            EXPECT_TRUE(started.empty());
            continue;
        }
        ASSERT_EQ(started.size(), 1u);
        const Voice& voice = mix.voices[started[0]];
        EXPECT_EQ(voice.sound, *c.sound);
        EXPECT_EQ(voice.atListener, c.heardAtListener);
        EXPECT_EQ(voice.position, c.where.value_or(run.frame.fairy));
        EXPECT_FLOAT_EQ(voice.pitch, c.pitch);
    }
}

// Over fifteen rings; the rings of a longer course stay on the top note.
TEST(SoundMixer, ChimesRiseEveryRingUpToTwoOctaves)
{
    EXPECT_FLOAT_EQ(chimePitch(0), 1.0f);
    for (int ring = 1; ring < 15; ++ring)
        EXPECT_GT(chimePitch(ring), chimePitch(ring - 1) * 1.05f) << ring;
    EXPECT_FLOAT_EQ(chimePitch(14), 4.0f);
    EXPECT_FLOAT_EQ(chimePitch(63), 4.0f);
}

// The master volume scales everything, the effects volume the game's
// sounds and the ambience volume the well alone.
TEST(SoundMixer, VolumesScaleTheSoundsOfTheirKind)
{
    const struct {
        AudioSettings volumes;
        float chime, well;
    } cases[] = {
        {{true, 1.0f, 1.0f, 0.6f}, 1.0f, 0.6f},
        {{true, 0.5f, 1.0f, 1.0f}, 0.5f, 0.5f},
        {{true, 1.0f, 0.0f, 1.0f}, 0.0f, 1.0f},
        {{true, 0.5f, 0.4f, 0.0f}, 0.2f, 0.0f},
    };
    for (const auto& c : cases) {
        HeardRun run(c.volumes);
        run.frame.ringsPassed = 1u;
        const SoundMix& mix = run.step();
        const int chime = cued(mix, Cue::start).back();
        EXPECT_FLOAT_EQ(mix.voices[chime].gain, c.chime * soundEntry(SoundId::chime).gain);
        EXPECT_FLOAT_EQ(mix.voices[ambienceVoice].gain, c.well * soundEntry(SoundId::well).gain);
        EXPECT_FLOAT_EQ(mix.voices[wingsVoice].gain, c.chime * soundEntry(SoundId::wings).gain * wingBeat(2.5f).gain);
    }
}

// Faster and louder beats up to flight speed; the wings stop in the fall
// and when the run is over.
TEST(SoundMixer, WingsFollowTheFairysSpeedAndStopWhenItCannotFly)
{
    EXPECT_LT(wingBeat(0.0f).pitch, wingBeat(1.0f).pitch);
    EXPECT_LT(wingBeat(1.0f).gain, wingBeat(2.5f).gain);
    EXPECT_EQ(wingBeat(5.0f).pitch, wingBeat(2.5f).pitch);
    HeardRun run;
    EXPECT_EQ(run.step().voices[wingsVoice].cue, Cue::start);
    EXPECT_FLOAT_EQ(run.step().voices[wingsVoice].pitch, wingBeat(2.5f).pitch);
    for (RunEnd end : {RunEnd::none, RunEnd::won}) {
        HeardRun ending;
        ending.step();
        ending.frame.falling = end == RunEnd::none;
        ending.frame.end = end;
        EXPECT_EQ(ending.step().voices[wingsVoice].cue, Cue::stop);
    }
}

// Pausing holds every voice that plays and resuming lets them go on; a
// new run (R) cuts what the old one started, and keeps the well.
TEST(SoundMixer, PauseHoldsWhatPlaysAndANewRunCutsTheOldRunsSounds)
{
    HeardRun run;
    run.frame.ringsPassed = 1u;
    const int chime = cued(run.step(), Cue::start).back();
    run.frame.paused = true;
    const std::vector<int> playing = {ambienceVoice, wingsVoice, chime};
    EXPECT_EQ(cued(run.step(), Cue::pause), playing);
    run.frame.ringsPassed = 3u;  // a ring while paused cannot sound
    EXPECT_TRUE(cued(run.step(), Cue::start).empty());
    run.frame.ringsPassed = 1u;
    run.frame.paused = false;
    EXPECT_EQ(cued(run.step(), Cue::resume), playing);

    run.frame = SoundFrame{};  // restarted: the run's clock is back at 0
    const SoundMix& mix = run.step();
    EXPECT_EQ(cued(mix, Cue::stop), std::vector<int>{chime});
    EXPECT_EQ(mix.voices[ambienceVoice].cue, Cue::keep);
    EXPECT_TRUE(cued(run.step(), Cue::start).empty());
}

// A replay played faster than real time stops what plays and starts nothing.
TEST(SoundMixer, SilentFramesStopEverythingAndStartNothing)
{
    HeardRun run;
    run.step();
    run.frame.silent = true;
    EXPECT_EQ(cued(run.step(), Cue::stop), (std::vector<int>{ambienceVoice, wingsVoice}));
    run.frame.ringsPassed = 1u;
    run.frame.end = RunEnd::won;
    const SoundMix& mix = run.step();
    EXPECT_EQ(cued(mix, Cue::keep).size(), static_cast<std::size_t>(voiceCount));
}

TEST(SoundMixer, StepsAllocateNothing)
{
    HeardRun run;
    run.step();
    AllocationCounter allocations;
    for (int frame = 0; frame < 60; ++frame) {
        run.frame.ringsPassed = (1u << (frame / 4)) - 1u;
        run.frame.paused = frame % 7 == 0;
        run.step();
    }
    EXPECT_EQ(allocations.count(), 0);
}
