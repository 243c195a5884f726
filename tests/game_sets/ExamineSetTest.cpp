// The checker's judgement of a teacher's set, one fault at a time on small sets of tones: each
// spoiled part gives its own fault and no other, and decides whether the set can be played.
#include "tests/game_sets/SetFixtures.h"

#include "game/sets/ExamineSet.h"
#include "game/sets/SetText.h"
#include "game/sets/SoundMeasure.h"
#include "media/Text.h"
#include "tests/media_sound/Fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>

using namespace tonvella;
using namespace settest;

namespace {

using K = TSetFaultKind;

std::string Describe(const TSetReport& report) {
    std::string out;
    for (const TSetFault& f : report.faults)
        out += ToUtf8(FaultKindName(f.kind)) + " (line " + std::to_string(f.line) +
               "): " + ToUtf8(f.text) + "\n";
    return out;
}

std::vector<K> Kinds(const TSetReport& report) {
    std::vector<K> kinds;
    for (const TSetFault& f : report.faults)
        kinds.push_back(f.kind);
    std::sort(kinds.begin(), kinds.end());
    return kinds;
}

} // namespace

TEST(ExamineSet, EachFaultAloneOnASmallSet) {
    struct TCase {
        const char* what;
        int pairs; // tone pairs made
        std::function<void(const fs::path&, TSetSpec&)> spoil;
        std::vector<K> faults;
        bool playable;
        const char* text = ""; // part of the first fault's text
    };
    const TCase cases[] = {
        {"a clean set", 8, [](auto&, auto&) {}, {}, true},
        {"a pair line without \"x\"",
         9,
         [](auto&, TSetSpec& s) { s.pairs[8] = "17-18"; },
         {K::kFormat},
         true,
         "has no \"x\""},
        {"a pair naming a sound [Sounds] lacks",
         9,
         [](auto&, TSetSpec& s) { s.pairs[8] = "17x40"; },
         {K::kFormat},
         true,
         "names sound 40"},
        {"a second number of three digits",
         8,
         [](auto&, TSetSpec& s) { s.pairs.push_back("1x100"); },
         {K::kFormat},
         true,
         "more than two digits"},
        {"an unknown section",
         8,
         [](auto&, TSetSpec& s) { s.after.push_back("[Klaenge]"); },
         {K::kFormat},
         true,
         "unknown section"},
        {"\"[\" in an entry",
         8,
         [](auto&, TSetSpec& s) { s.text.push_back("Titel=Lieder [3b]"); },
         {K::kFormat},
         true,
         "ends its section"},
        {"a blank before \"=\": the question is not found",
         8,
         [](auto&, TSetSpec& s) { s.text = {"Frage =Suche"}; },
         {K::kFormat, K::kFormat},
         true,
         "ends in a blank"},
        {"a missing sound",
         9,
         [](auto&, TSetSpec& s) { s.sounds[16] = "fehlt.wav"; },
         {K::kMissingSound},
         true,
         "\"fehlt.wav\": missing"},
        {"a sound named in another letter case",
         9,
         [](auto&, TSetSpec& s) { s.sounds[16] = "t9-A.WAV"; },
         {K::kMissingSound},
         true,
         "there is \"T9-a.wav\": letter case counts"},
        {"a sound that is no audio",
         9,
         [](const fs::path& f, TSetSpec& s) {
             WriteFile(f / "kaputt.wav", "Das ist kein Klang.\n");
             s.sounds[16] = "kaputt.wav";
         },
         {K::kUnreadableSound},
         true,
         "not readable as WAV or Ogg Vorbis"},
        {"a sound name with a folder",
         9,
         [](auto&, TSetSpec& s) { s.sounds[16] = "../T1-a.wav"; },
         {K::kFormat},
         true,
         "has a folder in it"},
        {"seven usable pairs",
         8,
         [](auto&, TSetSpec& s) { s.sounds[0] = "fehlt.wav"; },
         {K::kMissingSound, K::kTooFewPairs},
         false,
         "missing"},
        {"seven pairs announced",
         7,
         [](auto&, auto&) {},
         {K::kTooFewPairs},
         false,
         "the set has 7 pairs"},
        {"one file twice in a set of different sounds",
         9,
         [](auto&, TSetSpec& s) { s.sounds[17] = s.sounds[16]; },
         {K::kSameFileTwice},
         true,
         "pair 9 plays one file twice"},
        {"one file twice in every pair: an identical-sound exercise",
         8,
         [](auto&, TSetSpec& s) {
             for (size_t i = 1; i < s.sounds.size(); i += 2)
                 s.sounds[i] = s.sounds[i - 1];
         },
         {},
         true},
        {"a sound 10 dB softer than the others",
         8,
         [](const fs::path& f, auto&) {
             WriteFile(f / "T3-b.wav", ToneWav(220 * 1.75, 0.5, 0.095));
         },
         {K::kLoudness},
         true,
         "dB below the set's median"},
        {"a sound that is silent",
         8,
         [](const fs::path& f, auto&) { WriteFile(f / "T3-b.wav", ToneWav(440, 0.5, 0.0)); },
         {K::kLoudness},
         true,
         "is silent"},
        {"200 ms of silence before a sound",
         8,
         [](const fs::path& f, auto&) {
             WriteFile(f / "T3-b.wav", ToneWav(220 * 1.75, 0.5, 0.3, 0.2));
         },
         {K::kSilenceBefore},
         true,
         "200 ms of silence"},
        {"a sound of 11 s",
         8,
         [](const fs::path& f, auto&) { WriteFile(f / "T3-b.wav", ToneWav(220 * 1.75, 11)); },
         {K::kTooLong},
         true,
         "lasts 11.0 s"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        TTempFolder folder;
        TSetSpec spec = ToneSet(folder.path(), c.pairs);
        c.spoil(folder.path(), spec);
        const std::string path = WriteSet(folder.path(), "Probe.Set", spec);
        const TSetReport report = ExamineCardSet(FromUtf8(path), true);
        std::vector<K> expected = c.faults;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(Kinds(report), expected) << Describe(report);
        EXPECT_EQ(report.playable, c.playable) << Describe(report);
        if (!report.faults.empty()) {
            EXPECT_NE(ToUtf8(report.faults.front().text).find(c.text), std::string::npos)
                << Describe(report);
        }
        // The menu's check (without measuring) agrees on whether the set can be played.
        EXPECT_EQ(ExamineCardSet(FromUtf8(path), false).playable, c.playable);
    }
}

TEST(ExamineSet, AnUnplayableSetSaysWhyInOneLineOfTheCardPage) {
    struct {
        const char* what;
        std::function<std::string(const fs::path&)> make; // returns the set's path
        const char16_t* label;
        const char* detail;
    } cases[] = {
        {"no such file", [](const fs::path& f) { return (f / "Weg.Set").string(); }, u"Datei fehlt",
         "Weg.Set"},
        {"seven pairs", [](const fs::path& f) { return WriteSet(f, "Sieben.Set", ToneSet(f, 7)); },
         u"Zu wenige Paare", "7/8"},
        {"a missing sound",
         [](const fs::path& f) {
             TSetSpec s = ToneSet(f, 8);
             s.sounds[5] = "Geige.ogg";
             return WriteSet(f, "Geige.Set", s);
         },
         u"Klang fehlt", "Geige.ogg"},
        {"an unreadable sound",
         [](const fs::path& f) {
             TSetSpec s = ToneSet(f, 8);
             WriteFile(f / "T3-a.wav", "RIFF....WAVEnothing");
             return WriteSet(f, "Kaputt.Set", s);
         },
         u"Klang nicht lesbar", "T3-a.wav"},
        {"a pair with numbers only",
         [](const fs::path& f) {
             TSetSpec s = ToneSet(f, 8);
             s.pairs[7] = "15x77";
             return WriteSet(f, "Zahlen.Set", s);
         },
         u"Zu wenige Paare", "7/8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TTempFolder folder;
        const TSetReport report = ExamineCardSet(FromUtf8(c.make(folder.path())), false);
        EXPECT_FALSE(report.playable);
        EXPECT_EQ(ToUtf8(report.refusal.label), ToUtf8(c.label));
        EXPECT_EQ(ToUtf8(report.refusal.detail), c.detail);
    }
}

// Lines are read as a stream reads them; a teacher's UTF-8 is read as UTF-8, other bytes as
// Latin-1, and the built-in sets (which are not UTF-8-aware) stay one byte per character.
TEST(SetText, LinesAsTheGameReadsThem) {
    struct {
        const char* what;
        std::string bytes;
        bool utf8_allowed;
        std::vector<std::u16string> lines;
    } cases[] = {
        {"LF, CR LF, a last line without an end", "a\nb\r\nc", true, {u"a", u"b", u"c"}},
        {"a zero byte ends a line", std::string("a\0b\n", 4), true, {u"a", u"b"}},
        {"CR dropped anywhere, a lone CR at the end is a line",
         "F\rrage=x\n\r",
         true,
         {u"Frage=x", u""}},
        {"UTF-8 with its mark",
         "\xEF\xBB\xBF"
         "Frage=Tonh\xC3\xB6he\n",
         true,
         {u"Frage=Tonhöhe"}},
        {"Latin-1 when not UTF-8", "Frage=Tonh\xF6he\n", true, {u"Frage=Tonhöhe"}},
        {"built-in sets: one byte per character",
         "Frage=Tonh\xC3\xB6he\n",
         false,
         {u"Frage=Tonh\u00C3\u00B6he"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitSetLines(c.bytes, c.utf8_allowed), c.lines) << c.what;
}

TEST(SoundMeasure, LengthLoudnessAndTheSilenceBefore) {
    using namespace tonvella::test;
    // A full-scale 997 Hz sine in one channel measures -3.01 LUFS by the standard; 20 dB softer,
    // 20 LU less. At 48 kHz, as the standard's own test signals.
    for (double gain_db : {0.0, -20.0}) {
        TPcm pcm = MakeSine(1, 48000, 48000 * 2, 997, 32767 * std::pow(10, gain_db / 20));
        TAudioSampleHandle sample = CreateAudioSample(pcm.Frames(), 48000, SAMPLE_MONO16LE);
        std::memcpy(sample->samples, pcm.values.data(), pcm.values.size() * 2);
        const TSoundMeasure m = MeasureSound(*sample);
        EXPECT_NEAR(m.loudness, -3.01 + gain_db, 0.1) << gain_db;
        EXPECT_DOUBLE_EQ(m.seconds, 2.0);
        EXPECT_FALSE(m.silent);
        EXPECT_LT(m.silence_before, 0.001);
    }
    // Stereo adds the power of both channels: the same sine in both is 3 dB louder.
    TPcm left = MakeSine(1, 48000, 48000, 997, 3276.7);
    TAudioSampleHandle stereo = CreateAudioSample(left.Frames(), 48000, SAMPLE_STEREO16LE);
    for (int i = 0; i < left.Frames(); ++i) {
        std::memcpy(stereo->samples + 4 * i, &left.values[size_t(i)], 2);
        std::memcpy(stereo->samples + 4 * i + 2, &left.values[size_t(i)], 2);
    }
    EXPECT_NEAR(MeasureSound(*stereo).loudness, -23.01 + 3.01, 0.1);
    // The silence before a sound, to the sample.
    TTempFolder folder;
    WriteFile(folder.path() / "late.wav", ToneWav(500, 0.5, 0.3, 0.125));
    std::u16string why;
    TAudioSampleHandle late =
        DecodeTeacherSound(FromUtf8(folder.path().string() + "/"), u"late.wav", why);
    ASSERT_TRUE(late) << ToUtf8(why);
    EXPECT_NEAR(MeasureSound(*late).silence_before, 0.125, 0.0005);
}
