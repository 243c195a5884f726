// Choosing the driver, the silent driver, and the "DirectSound" buffer handling.
#include "media/Text.h"
#include "tests/media_sound/AudioTestSupport.h"
#include "tests/media_sound/Fixtures.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tonvella {
namespace {

using namespace test;

class AudioDriverTest : public testing::Test {
protected:
    void TearDown() override { SelectAudioDriver(u"Null"); }
};

// First use happens once per process, so each case runs in a fresh child process.
TEST(FirstAudioUse, StartsDirectSoundOrFallsSilentWithOneLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* sdl_driver;
        const char16_t* expected;
        int lines;
    } cases[] = {{"disk", u"DirectSound", 0}, {"no-such-audio", u"Null", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sdl_driver);
        EXPECT_EXIT(
            {
                setenv("SDL_AUDIODRIVER", c.sdl_driver, 1);
                setenv("SDL_DISKAUDIOFILE", TempPath("first-use.raw").c_str(), 1);
                testing::internal::CaptureStdout();
                TAudioDriver* driver = CurrentAudioDriver();
                std::string printed = testing::internal::GetCapturedStdout();
                bool ok = driver->Name() == c.expected &&
                          std::count(printed.begin(), printed.end(), '\n') == c.lines &&
                          (c.lines == 0 || printed.find("No audio device") == 0) &&
                          CurrentAudioDriver() == driver;
                std::_Exit(ok ? 0 : 1);
            },
            testing::ExitedWithCode(0), "");
    }
}

TEST_F(AudioDriverTest, SelectsByFullNameInAnyLetterCase) {
    setenv("SDL_DISKAUDIOFILE", TempPath("select.raw").c_str(), 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    struct Case {
        const char16_t* name;
        int result;
        const char16_t* current;
    } cases[] = {{u"directSOUND", 1, u"DirectSound"},
                 {u"Direct", 0, u"Null"},
                 {u"FreeAudio DirectSound", 0, u"Null"},
                 {u"DirectSound", 1, u"DirectSound"},
                 {u"null", 1, u"Null"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(ToUtf8(c.name));
        EXPECT_EQ(SelectAudioDriver(c.name), c.result);
        EXPECT_EQ(CurrentAudioDriver()->Name(), c.current);
    }
}

TEST_F(AudioDriverTest, NoDeviceLeavesTheSilentDriverCurrent) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(StartDirectSoundOn("no-such-audio"), 0);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    EXPECT_EQ(CurrentAudioDriver()->Name(), u"Null");
}

// Whatever the driver, none in gives none out and nothing breaks.
TEST_F(AudioDriverTest, NoneIsSafeEverywhere) {
    std::string wav = WriteTempFile("beep.wav", MakeWav({.bits = 8, .data = TBytes(800, 200)}));
    for (const char* sdl : {"no-such-audio", "dummy"}) {
        SCOPED_TRACE(sdl);
        testing::internal::CaptureStdout();
        StartDirectSoundOn(sdl);
        EXPECT_FALSE(LoadSoundFile(FromUtf8(TempPath("missing.ogg")), 0));
        testing::internal::GetCapturedStdout();
        EXPECT_FALSE(TSound::Load(TAudioSampleHandle(), 0));
        EXPECT_FALSE(PlaySoundOn(nullptr));
        EXPECT_FALSE(CueSoundOn(nullptr));
        StopSoundChannel(nullptr);
        SetSoundVolume(nullptr, 0.5f);
        SetSoundPan(nullptr, 0.5f);
        SetSoundRate(nullptr, 2.0f);
        PauseSoundChannel(nullptr, 1);
        EXPECT_EQ(SoundChannelPlaying(nullptr), 0);

        TSoundHandle sound = LoadSoundFile(FromUtf8(wav), 0);
        ASSERT_TRUE(sound);
        TChannelHandle channel = PlaySoundOn(sound);
        ASSERT_TRUE(channel);
        StopSoundChannel(channel);
        EXPECT_EQ(SoundChannelPlaying(channel), 0);
    }
}

TEST_F(AudioDriverTest, SilentDriverChannelsNeverPlay) {
    ASSERT_EQ(SelectAudioDriver(u"Null"), 1);
    TSoundHandle sound = TSound::Load(ConstantSample(4410, 44100, 1000), 0);
    ASSERT_TRUE(sound);
    TChannelHandle channel = PlaySoundOn(sound);
    ASSERT_TRUE(channel);
    EXPECT_EQ(SoundChannelPlaying(channel), 0);
    EXPECT_EQ(channel->SetVolume(0.5f), 0);
}

TEST_F(AudioDriverTest, VolumePanAndRateFollowTheirCurves) {
    ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
    TSoundHandle sound = TSound::Load(ConstantSample(22050, 22050, 1000), SOUND_LOOP);
    TChannelHandle channel = PlaySoundOn(sound);
    TMixBufferHandle buffer = BufferOf(channel);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(channel->Playing(), 1);

    struct Level {
        float given;
        int hundredths;
    };
    for (Level v : {Level{1, 0}, {0.5f, -669}, {0, -10000}, {2, 0}, {-1, -10000}}) {
        EXPECT_EQ(channel->SetVolume(v.given), 1);
        EXPECT_EQ(buffer->GetVolume(), v.hundredths) << "volume " << v.given;
    }
    for (Level p : {Level{0, 0}, {0.5f, 669}, {-0.5f, -669}, {1, 10000}, {-3, -10000}}) {
        EXPECT_EQ(channel->SetPan(p.given), 1);
        EXPECT_EQ(buffer->GetPan(), p.hundredths) << "pan " << p.given;
    }
    for (Level r : {Level{2, 44100}, {0.5f, 11025}, {1, 22050}}) {
        EXPECT_EQ(channel->SetRate(r.given), 1);
        EXPECT_EQ(buffer->GetFrequency(), r.hundredths) << "rate " << r.given;
    }

    // Settings made before the channel plays are applied when it starts.
    TChannelHandle prepared = CurrentAudioDriver()->AllocChannel();
    prepared->SetVolume(0.5f);
    prepared->SetPan(-1);
    PlaySoundOn(sound, prepared);
    ASSERT_TRUE(BufferOf(prepared));
    EXPECT_EQ(BufferOf(prepared)->GetVolume(), -669);
    EXPECT_EQ(BufferOf(prepared)->GetPan(), -10000);
    EXPECT_EQ(prepared->Playing(), 1);

    // A stopped channel has let go of its buffer.
    EXPECT_EQ(channel->Stop(), 1);
    EXPECT_EQ(channel->Playing(), 0);
    EXPECT_EQ(channel->SetVolume(0.25f), 0);
    EXPECT_EQ(buffer->GetVolume(), -10000);
    EXPECT_EQ(channel->Stop(), 0);
}

TEST_F(AudioDriverTest, BuffersAreReusedOnceFinishedAndStaleHandlesDoNothing) {
    ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
    TSoundHandle sound = TSound::Load(ConstantSample(4410, 44100, 1000), 0); // 100 ms
    TChannelHandle first = PlaySoundOn(sound);
    TChannelHandle second = PlaySoundOn(sound);
    TMixBuffer* first_buffer = BufferOf(first).get();
    TMixBuffer* second_buffer = BufferOf(second).get();
    ASSERT_TRUE(first_buffer && second_buffer);
    EXPECT_NE(first_buffer, second_buffer);

    ASSERT_TRUE(WaitFor([&] { return !first->Playing() && !second->Playing(); }));
    TChannelHandle third = PlaySoundOn(sound);
    // Newest first: the duplicate made for the second playback is the first free one.
    EXPECT_EQ(BufferOf(third).get(), second_buffer);
    EXPECT_EQ(third->Playing(), 1);

    // The second channel's handle no longer owns that buffer.
    EXPECT_EQ(second->SetVolume(0), 0);
    EXPECT_EQ(second->Stop(), 0);
    EXPECT_EQ(BufferOf(third)->GetVolume(), 0);
    EXPECT_EQ(third->Playing(), 1);
}

TEST_F(AudioDriverTest, ReleasedHandles) {
    ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
    TSoundHandle sound = TSound::Load(ConstantSample(8820, 44100, 1000), 0); // 200 ms

    // A channel released while only cued gives its buffer back at once.
    TChannelHandle cued = CueSoundOn(sound);
    TMixBuffer* cued_buffer = BufferOf(cued).get();
    ASSERT_TRUE(cued_buffer);
    EXPECT_EQ(cued->Playing(), 0);
    cued.reset();
    TChannelHandle started = PlaySoundOn(sound);
    EXPECT_EQ(BufferOf(started).get(), cued_buffer);

    // A started channel released plays on, and so does the buffer of a released sound, which
    // is let go once it has finished.
    std::weak_ptr<TMixBuffer> playing = BufferOf(started);
    started.reset();
    sound.reset();
    ASSERT_FALSE(playing.expired());
    int status = 0;
    playing.lock()->GetStatus(status);
    EXPECT_EQ(status, MIX_STATUS_PLAYING);
    ASSERT_TRUE(WaitFor([&] {
        int s = 0;
        auto b = playing.lock();
        return b && b->GetStatus(s) == 0 && s == 0;
    }));
    TSoundHandle next = TSound::Load(ConstantSample(10, 44100, 1), 0);
    EXPECT_TRUE(playing.expired());

    // A released sound that nothing plays takes its buffers and their data along at once.
    TChannelHandle finished = PlaySoundOn(next);
    ASSERT_TRUE(WaitFor([&] { return !finished->Playing(); }));
    std::weak_ptr<TMixBuffer> idle = BufferOf(CueSoundOn(next));
    ASSERT_FALSE(idle.expired());
    finished.reset();
    next.reset();
    EXPECT_TRUE(idle.expired());
}

// A stopped sound still fades out in the mixer after the game has let go of the sound, the
// channel and the buffer; the audio thread must never reach what was freed.
TEST_F(AudioDriverTest, SoundsFreedWhileTheyFadeOutAreSafeForTheMixer) {
    ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
    TSoundHandle marker = TSound::Load(ConstantSample(64, 44100, 1000), 0);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        TSoundHandle sound = TSound::Load(ConstantSample(44100, 44100, 20000), round % 2);
        TChannelHandle channel = PlaySoundOn(sound);
        std::weak_ptr<TMixBuffer> buffer = BufferOf(channel);
        StopSoundChannel(channel);
        channel.reset();
        sound.reset(); // takes its idle buffers along
        EXPECT_TRUE(buffer.expired());
        TChannelHandle mixed = PlaySoundOn(marker);
        // Once the marker has played, the mixer has run over the fade-out at least once.
        ASSERT_TRUE(WaitFor([&] { return !mixed->Playing(); }));
    }
}

TEST_F(AudioDriverTest, OnlyASampleHandedOverAndHeldByNoOneElseLendsItsMemory) {
    ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
    TAudioDriver* driver = CurrentAudioDriver();
    TAudioSampleHandle kept = ConstantSample(100, 44100, 7);
    TAudioSampleHandle handed = ConstantSample(100, 44100, 7);
    const std::uint8_t* handed_memory = handed->samples;
    const struct {
        const char* what;
        TSoundHandle sound;
        const std::uint8_t* sample_memory;
        bool shared;
    } cases[] = {
        {"created from a kept sample", driver->CreateSound(kept, 0), kept->samples, false},
        {"handed over but still held", driver->AdoptSound(kept, 0), kept->samples, false},
        {"handed over", driver->AdoptSound(std::move(handed), 0), handed_memory, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto sound = std::dynamic_pointer_cast<TDirectSoundSound>(c.sound);
        ASSERT_TRUE(sound);
        int bytes = 0;
        const std::uint8_t* memory = sound->_buffer->Lock(bytes);
        EXPECT_EQ(bytes, 200);
        EXPECT_EQ(memory == c.sample_memory, c.shared);
        EXPECT_EQ(memory[0], 7);
    }
}

TEST_F(AudioDriverTest, SoundsOutliveTheirDriverHarmlessly) {
    ASSERT_EQ(StartDirectSoundOn("dummy"), 1);
    TSoundHandle sound = TSound::Load(ConstantSample(44100, 44100, 1000), SOUND_LOOP);
    TChannelHandle channel = PlaySoundOn(sound);
    EXPECT_EQ(channel->Playing(), 1);
    ASSERT_EQ(SelectAudioDriver(u"Null"), 1);
    EXPECT_EQ(channel->Playing(), 0);
    channel->SetVolume(0.5f);
    TChannelHandle again = PlaySoundOn(sound);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->Playing(), 0);
    channel.reset();
    sound.reset();
}

} // namespace
} // namespace tonvella
