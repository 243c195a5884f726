// What a played channel puts into the output: SDL's disk driver records the mixed stream.
#include "media/Text.h"
#include "tests/media_sound/AudioTestSupport.h"
#include "tests/media_sound/Fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace tonvella {
namespace {

using namespace test;

struct TRun {
    size_t start = 0, frames = 0;
    int left = 0, right = 0; // first frame
    size_t held = 0;         // frames at the first frame's level before it first changes
    int last_step = 0;       // largest step after that, the one into silence included
};

// Stretches of non-silent frames, in order.
std::vector<TRun> SoundingRuns(const std::vector<std::int16_t>& stereo, size_t& trailing_silence) {
    std::vector<TRun> runs;
    bool inside = false;
    trailing_silence = 0;
    for (size_t f = 0; f * 2 + 1 < stereo.size(); ++f) {
        int l = stereo[f * 2], r = stereo[f * 2 + 1];
        if (l == 0 && r == 0) {
            if (inside) {
                TRun& run = runs.back();
                run.last_step = std::max(
                    {run.last_step, std::abs(stereo[f * 2 - 2]), std::abs(stereo[f * 2 - 1])});
            }
            inside = false;
            ++trailing_silence;
            continue;
        }
        trailing_silence = 0;
        if (!inside) runs.push_back({f, 0, l, r});
        inside = true;
        TRun& run = runs.back();
        if (run.held == run.frames && l == run.left && r == run.right)
            ++run.held;
        else
            run.last_step = std::max(
                {run.last_step, std::abs(l - stereo[f * 2 - 2]), std::abs(r - stereo[f * 2 - 1])});
        ++run.frames;
    }
    return runs;
}

// The buffer layer's own units: hundredths of a decibel.
int Level(int value, int hundredths) {
    return int(std::lrint(value * std::pow(10.0, hundredths / 2000.0)));
}

TEST(Mixing, ChannelsSoundAtTheirVolumeAndPanAndStopWhenStopped) {
    const int value = 16000;
    std::string file = TempPath("mix.raw");
    ASSERT_EQ(StartDirectSoundOn("disk", file), 1);
    auto* driver = dynamic_cast<TDirectSoundAudioDriver*>(CurrentAudioDriver());
    ASSERT_TRUE(driver && driver->Device());
    EXPECT_EQ(driver->Device()->Rate(), 44100);
    EXPECT_LE(driver->Device()->Frames(), MIX_FRAMES);

    TSoundHandle loop = TSound::Load(ConstantSample(1000, 44100, value), SOUND_LOOP);
    TSoundHandle shot = TSound::Load(ConstantSample(1000, 44100, value), 0);
    TSoundHandle slow_shot = TSound::Load(ConstantSample(500, 22050, value), 0);
    // Sounds from files play the decoded frames themselves, in the file's own layout: mono
    // 16-bit at half rate, and 8-bit at full rate.
    TWavLayout wav16;
    wav16.hertz = 22050;
    for (int i = 0; i < 500; ++i)
        Put16(wav16.data, std::uint16_t(value));
    TWavLayout wav8;
    wav8.bits = 8;
    wav8.data.assign(1000, 128 + 62);
    TSoundHandle file16 = LoadSoundFile(FromUtf8(WriteTempFile("shot16.wav", MakeWav(wav16))), 0);
    TSoundHandle file8 = LoadSoundFile(FromUtf8(WriteTempFile("shot8.wav", MakeWav(wav8))), 0);
    struct Case {
        const char* name;
        TSoundHandle sound;
        float volume, pan;
        int left, right; // expected output
        int frames;      // exact length of a one-shot, 0 for a loop stopped by StopSoundChannel
    } cases[] = {
        {"full", loop, 1, 0, value, value, 0},
        {"half volume", loop, 0.5f, 0, Level(value, -669), Level(value, -669), 0},
        {"hard left", loop, 1, -1, value, 0, 0},
        {"half volume, half right", loop, 0.5f, 0.5f, Level(value, -669 - 669), Level(value, -669),
         0},
        {"one-shot", shot, 1, 0, value, value, 1000},
        {"one-shot at half rate", slow_shot, 1, 0, value, value, 1000},
        {"16-bit file at half rate", file16, 1, 0, value, value, 1000},
        {"8-bit file", file8, 1, 0, 62 * 256, 62 * 256, 1000},
    };
    for (const Case& c : cases) {
        TChannelHandle channel = driver->AllocChannel();
        SetSoundVolume(channel, c.volume);
        SetSoundPan(channel, c.pan);
        PlaySoundOn(c.sound, channel);
        ASSERT_EQ(SoundChannelPlaying(channel), 1) << c.name;
        if (c.frames == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            StopSoundChannel(channel);
        } else {
            EXPECT_TRUE(WaitFor([&] { return !SoundChannelPlaying(channel); })) << c.name;
        }
        EXPECT_EQ(SoundChannelPlaying(channel), 0) << c.name;
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    ASSERT_EQ(SelectAudioDriver(u"Null"), 1); // closes the device and its file

    TBytes raw = ReadFileBytes(file);
    std::vector<std::int16_t> stereo(raw.size() / 2);
    std::memcpy(stereo.data(), raw.data(), stereo.size() * 2);
    size_t silence = 0;
    std::vector<TRun> runs = SoundingRuns(stereo, silence);
    ASSERT_EQ(runs.size(), std::size(cases));
    for (size_t i = 0; i < runs.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(runs[i].left, c.left, 1);
        EXPECT_NEAR(runs[i].right, c.right, 1);
        if (c.frames) {
            // A one-shot ends with its data, however loud that is.
            EXPECT_EQ(runs[i].held, runs[i].frames);
            EXPECT_EQ(runs[i].frames, size_t(c.frames));
        } else {
            // A stopped one fades out within 10 ms, without a step that clicks.
            EXPECT_GE(runs[i].held, size_t(MIX_FRAMES)); // a device period before the stop
            EXPECT_LE(runs[i].frames - runs[i].held, size_t(44100 / 100));
            EXPECT_LE(runs[i].last_step, std::max(c.left, c.right) / 100 + 1);
        }
    }
    // After the last stop nothing but silence went out: 150 ms of it, give or take scheduling.
    EXPECT_GE(silence, size_t(44100 / 20));
}

// An idle game must not keep the processor busy mixing silence: once nothing has sounded for
// MIX_REST_AFTER_MS the audio thread rests, a play wakes it for the very next period, and
// holding or closing the device ends a rest instead of waiting for it forever. The output
// shows it: a rest adds nothing to the file, so the silence after a sound is the rest's
// length and not the time that passed.
TEST(Mixing, RestsWhileNothingSoundsAndWakesAtOnceForAPlay) {
    const int value = 12000, frames = 3000;
    std::string file = TempPath("rest.raw");
    ASSERT_EQ(StartDirectSoundOn("disk", file), 1);
    auto* driver = dynamic_cast<TDirectSoundAudioDriver*>(CurrentAudioDriver());
    ASSERT_TRUE(driver && driver->Device());
    TMixDevice& device = *driver->Device();
    const size_t rest = size_t(device.Rate()) * MIX_REST_AFTER_MS / 1000;
    const size_t period = size_t(device.Frames());
    ASSERT_TRUE(WaitFor([&] { return device.Resting(); }, 60000)) << "no rest after the start";

    // A hold and its end while resting: SDL takes its own lock around the callback for both.
    device.HoldOutput(true);
    EXPECT_FALSE(device.Resting());
    std::vector<std::int16_t> held(2 * period);
    device.Render(held.data(), int(period));
    EXPECT_TRUE(std::all_of(held.begin(), held.end(), [](std::int16_t v) { return v == 0; }));
    device.HoldOutput(false);
    ASSERT_TRUE(WaitFor([&] { return device.Resting(); }, 60000)) << "no rest after the hold";

    TSoundHandle shot = TSound::Load(ConstantSample(frames, 44100, value), 0);
    TChannelHandle channel = driver->AllocChannel();
    PlaySoundOn(shot, channel);
    EXPECT_TRUE(WaitFor([&] { return !SoundChannelPlaying(channel); }, 60000))
        << "the play did not end the rest";
    ASSERT_TRUE(WaitFor([&] { return device.Resting(); }, 60000)) << "no rest after the sound";
    ASSERT_EQ(SelectAudioDriver(u"Null"), 1); // closes the resting device and its file

    TBytes raw = ReadFileBytes(file);
    std::vector<std::int16_t> stereo(raw.size() / 2);
    std::memcpy(stereo.data(), raw.data(), stereo.size() * 2);
    size_t silence = 0;
    std::vector<TRun> runs = SoundingRuns(stereo, silence);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].frames, size_t(frames));
    EXPECT_EQ(runs[0].held, size_t(frames));
    EXPECT_EQ(runs[0].left, value);
    // The sound starts a whole period: the woken thread mixed it from the period's first frame.
    EXPECT_EQ(runs[0].start % period, 0u);
    // After the sound: the rest's silence, whole periods of it, one more as the close wakes
    // the thread, and nothing for the time it rested.
    EXPECT_GE(silence, rest);
    EXPECT_LE(silence, rest + 3 * period);
}

// A sample of the given PCM, as a loader would make it.
TAudioSampleHandle SampleOf(const TPcm& pcm) {
    TAudioSampleHandle sample = CreateAudioSample(
        pcm.Frames(), pcm.hertz, pcm.channels == 1 ? SAMPLE_MONO16LE : SAMPLE_STEREO16LE);
    std::memcpy(sample->samples, pcm.values.data(), pcm.values.size() * 2);
    return sample;
}

// Every frame the same, left and right values of their own.
TPcm Steady(int frames, int left, int right) {
    TPcm pcm;
    pcm.channels = 2;
    for (int i = 0; i < frames; ++i) {
        pcm.values.push_back(std::int16_t(left));
        pcm.values.push_back(std::int16_t(right));
    }
    return pcm;
}

// The driver on a device whose output is pulled by the test, so that exactly what follows an
// operation can be looked at, however busy the machine is.
class HeldMix : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
        driver = dynamic_cast<TDirectSoundAudioDriver*>(CurrentAudioDriver());
        ASSERT_TRUE(driver && driver->Device());
        driver->Device()->HoldOutput(true);
    }
    void TearDown() override { SelectAudioDriver(u"Null"); }

    std::vector<std::int16_t> Pull(int frames) {
        std::vector<std::int16_t> stereo(size_t(frames) * 2);
        driver->Device()->Render(stereo.data(), frames);
        return stereo;
    }

    TDirectSoundAudioDriver* driver = nullptr;
};

// Largest change from one frame to the next in either channel, from frame `from` on.
int LargestStep(const std::vector<std::int16_t>& stereo, size_t from = 1) {
    int largest = 0;
    for (size_t f = std::max<size_t>(from, 1); f * 2 + 1 < stereo.size(); ++f)
        for (size_t c = 0; c < 2; ++c)
            largest = std::max(largest, std::abs(stereo[f * 2 + c] - stereo[(f - 1) * 2 + c]));
    return largest;
}

// A stop at full level must not jump to zero: the sound fades out within a few milliseconds,
// while the channel reports stopped at once and its buffer is free for the next playback.
TEST_F(HeldMix, StoppedSoundsFadeOutInsteadOfClicking) {
    const int loud = 20000;
    const size_t fade_limit = 44100 / 100;                  // 10 ms
    const TPcm sine = MakeSine(1, 44100, 44100, 200, loud); // starts at zero
    const int sine_step = int(std::ceil(2 * M_PI * 200 / 44100 * loud));
    enum TAfter { STOP, PAUSE, STOP_AND_START_SINE, STOP_AND_START_AGAIN, STOP_AND_FREE };
    struct Case {
        const char* name;
        TPcm pcm;
        int flags;
        float volume, pan;
        TAfter after;
        int own_step; // the largest step the sounds themselves make
    } cases[] = {
        {"one-shot stopped", Steady(44100, loud, loud), 0, 1, 0, STOP, 0},
        {"loop stopped", Steady(44100, loud, -loud), SOUND_LOOP, 1, 0, STOP, 0},
        {"short loop stopped, the fade wraps", Steady(64, loud, loud), SOUND_LOOP, 1, 0, STOP, 0},
        {"volume and pan applied", Steady(44100, loud, loud), SOUND_LOOP, 0.5f, 0.5f, STOP, 0},
        {"paused", Steady(44100, -loud, loud), 0, 1, 0, PAUSE, 0},
        {"stopped and another sound started at once", Steady(44100, loud, loud), 0, 1, 0,
         STOP_AND_START_SINE, sine_step},
        // The same sound gets the buffer that was just let go of.
        {"stopped and started again at once", sine, 0, 1, 0, STOP_AND_START_AGAIN, 2 * sine_step},
        {"stopped, then sound, channel and buffer freed", Steady(44100, loud, loud), 0, 1, 0,
         STOP_AND_FREE, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        TSoundHandle sound = TSound::Load(SampleOf(c.pcm), c.flags);
        TChannelHandle channel = driver->AllocChannel();
        SetSoundVolume(channel, c.volume);
        SetSoundPan(channel, c.pan);
        PlaySoundOn(sound, channel);
        std::weak_ptr<TMixBuffer> buffer = BufferOf(channel);
        std::vector<std::int16_t> mixed = Pull(2000);
        const int left = mixed[mixed.size() - 2], right = mixed.back();
        const int level = std::max(std::abs(left), std::abs(right));
        ASSERT_GT(level, loud / 4); // sounding at the stop
        // A start is heard from the first frame mixed, as it is: no delay, no fade-in, so a
        // sound that begins at zero begins without a step.
        if (c.volume == 1 && c.pan == 0) {
            EXPECT_EQ(mixed[0], c.pcm.values[0]);
            EXPECT_EQ(mixed[1], c.pcm.values[size_t(c.pcm.channels) - 1]);
        }
        EXPECT_LE(LargestStep(mixed), c.own_step);

        TSoundHandle restart;
        if (c.after == PAUSE) {
            PauseSoundChannel(channel, 1);
        } else {
            StopSoundChannel(channel);
            EXPECT_EQ(SoundChannelPlaying(channel), 0);
        }
        const bool restarted = c.after == STOP_AND_START_SINE || c.after == STOP_AND_START_AGAIN;
        if (restarted) {
            restart = c.after == STOP_AND_START_AGAIN ? sound : TSound::Load(SampleOf(sine), 0);
            PlaySoundOn(restart, channel);
            EXPECT_EQ(SoundChannelPlaying(channel), 1);
            EXPECT_EQ(BufferOf(channel) == buffer.lock(), restart == sound);
        }
        if (c.after == STOP_AND_FREE) {
            channel.reset();
            sound.reset(); // takes its idle buffers along
            EXPECT_TRUE(buffer.expired());
        }
        const size_t stop = mixed.size() / 2;
        std::vector<std::int16_t> after = Pull(4000);
        mixed.insert(mixed.end(), after.begin(), after.end());

        EXPECT_LE(LargestStep(mixed, stop - 1), c.own_step + level / 100 + 1);
        // Past the fade only what plays now is heard: silence, or the restarted sound at its
        // full level from its first frame on.
        for (size_t f = fade_limit; f < after.size() / 2; ++f) {
            int expected = restarted ? sine.values[f] : 0;
            ASSERT_NEAR(after[f * 2], expected, 1) << "frame " << f << " after the stop";
            ASSERT_NEAR(after[f * 2 + 1], expected, 1) << "frame " << f << " after the stop";
        }
        StopSoundChannel(channel);
        Pull(int(fade_limit)); // the next case starts from silence
    }
}

} // namespace
} // namespace tonvella
