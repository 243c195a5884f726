// What a played channel puts into the output: SDL's disk driver records the mixed stream.
#include "AudioTestSupport.h"
#include "Fixtures.h"
#include "media/Text.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace tonvella {
namespace {

using namespace test;

struct TRun {
    size_t start = 0, frames = 0;
    int left = 0, right = 0; // first frame
    bool constant = true;
};

// Stretches of non-silent frames, in order.
std::vector<TRun> SoundingRuns(const std::vector<std::int16_t>& stereo, size_t& trailing_silence) {
    std::vector<TRun> runs;
    bool inside = false;
    trailing_silence = 0;
    for (size_t f = 0; f * 2 + 1 < stereo.size(); ++f) {
        int l = stereo[f * 2], r = stereo[f * 2 + 1];
        if (l == 0 && r == 0) {
            inside = false;
            ++trailing_silence;
            continue;
        }
        trailing_silence = 0;
        if (!inside) runs.push_back({f, 0, l, r, true});
        inside = true;
        TRun& run = runs.back();
        ++run.frames;
        if (l != run.left || r != run.right) run.constant = false;
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
        EXPECT_TRUE(runs[i].constant);
        EXPECT_NEAR(runs[i].left, c.left, 1);
        EXPECT_NEAR(runs[i].right, c.right, 1);
        if (c.frames)
            EXPECT_EQ(runs[i].frames, size_t(c.frames));
        else
            EXPECT_GE(runs[i].frames, size_t(MIX_FRAMES)); // a device period before the stop
    }
    // After the last stop nothing but silence went out: 150 ms of it, give or take scheduling.
    EXPECT_GE(silence, size_t(44100 / 20));
}

} // namespace
} // namespace tonvella
