// Decoding WAV and Ogg Vorbis files made here, and refusing damaged ones.
#include "media/Text.h"
#include "media/sound/Loaders.h"
#include "media/sound/SamplePrefetch.h"
#include "streams/Stream.h"
#include "tests/media_sound/Fixtures.h"
#include "tests/media_sound/HeapPeak.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <ogg/ogg.h>

namespace tonvella {
namespace {

using namespace test;

TBytes Pcm16Bytes(const TPcm& pcm) {
    TBytes out;
    for (std::int16_t v : pcm.values)
        Put16(out, std::uint16_t(v));
    return out;
}

std::vector<std::int16_t> Values16(const TAudioSample& sample) {
    std::vector<std::int16_t> out(size_t(sample.ByteSize() / 2));
    std::memcpy(out.data(), sample.samples, out.size() * 2);
    return out;
}

// Loads the file and returns what was printed alongside.
TAudioSampleHandle Load(const std::string& path, std::string& printed) {
    testing::internal::CaptureStdout();
    TAudioSampleHandle sample = LoadSampleFromUrl(FromUtf8(path));
    printed = testing::internal::GetCapturedStdout();
    return sample;
}

TEST(WavLoader, DecodesPcmLayouts) {
    TPcm stereo = MakeSine(2, 22050, 300, 440, 20000);
    TBytes list_chunk = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0}; // odd, padded
    TBytes unpadded_tail = {'n', 'o', 't', 'e', 1, 0, 0, 0, 'x'};

    struct Case {
        const char* name;
        TWavLayout layout;
        int format;
        TBytes extra_after; // appended after the data chunk
    } cases[] = {
        {"mono8",
         {.channels = 1, .hertz = 8000, .bits = 8, .data = {0, 128, 255, 7}},
         SAMPLE_MONO8,
         {}},
        {"stereo8",
         {.channels = 2, .hertz = 11025, .bits = 8, .data = {1, 2, 3, 4}},
         SAMPLE_STEREO8,
         {}},
        {"stereo16",
         {.channels = 2, .hertz = 22050, .bits = 16, .data = Pcm16Bytes(stereo)},
         SAMPLE_STEREO16LE,
         unpadded_tail},
        {"long fmt and odd chunk",
         {.channels = 2,
          .hertz = 22050,
          .bits = 16,
          .extra_fmt_bytes = 2,
          .chunk_before_data = list_chunk,
          .data = Pcm16Bytes(stereo)},
         SAMPLE_STEREO16LE,
         {}},
        // A stray byte after the last whole frame is not part of the sample.
        {"odd data length",
         {.channels = 1, .hertz = 48000, .bits = 16, .data = {1, 2, 3, 4, 5}},
         SAMPLE_MONO16LE,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBytes file = MakeWav(c.layout);
        file.insert(file.end(), c.extra_after.begin(), c.extra_after.end());
        std::string printed;
        TAudioSampleHandle sample = Load(WriteTempFile("layout.wav", file), printed);
        ASSERT_TRUE(sample) << printed;
        EXPECT_EQ(printed, "");
        int bpf = SampleBytesPerFrame(c.format);
        EXPECT_EQ(sample->format, c.format);
        EXPECT_EQ(sample->hertz, c.layout.hertz);
        EXPECT_EQ(sample->length, int(c.layout.data.size()) / bpf);
        EXPECT_EQ(0,
                  std::memcmp(sample->samples, c.layout.data.data(), size_t(sample->ByteSize())));
    }
}

TEST(WavLoader, RefusesDamagedAndUnsupportedFilesWithOneLine) {
    TBytes data(400, 0x40);
    TBytes huge_chunk = {'j', 'u', 'n', 'k', 0xF0, 0xFF, 0xFF, 0xFF};
    struct Case {
        const char* name;
        TBytes file;
        const char* reason;
    } cases[] = {
        {"24-bit", MakeWav({.bits = 24, .data = data}), "24 bits"},
        {"float", MakeWav({.audio_format = 3, .bits = 32, .data = data}), "not PCM"},
        {"three channels", MakeWav({.channels = 3, .bits = 8, .data = data}), "3 channels"},
        {"4 kHz", MakeWav({.hertz = 4000, .data = data}), "4000 Hz"},
        {"384 kHz", MakeWav({.hertz = 384000, .data = data}), "384000 Hz"},
        {"data past end", MakeWav({.data_length = 100000, .data = data}), "past the end"},
        {"length near 4 GiB", MakeWav({.data_length = 0xFFFFFFF0LL, .data = data}), "minutes"},
        {"11 minutes",
         MakeWav({.hertz = 8000, .bits = 8, .data_length = 8000LL * 660, .data = data}), "minutes"},
        {"chunk length overflow", MakeWav({.chunk_before_data = huge_chunk, .data = data}),
         "past the end"},
        {"empty data", MakeWav({.data = {}}), "without audio data"},
        {"cut in the header", TBytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm'},
         "data ends early"},
        {"no data chunk",
         [] {
             TBytes f = MakeWav({.data = {}});
             f.resize(f.size() - 8); // drop the data chunk header
             return f;
         }(),
         "without data chunk"},
        {"neither WAV nor Ogg", TBytes(64, 'z'), "unknown format"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string printed;
        std::string path = WriteTempFile("damaged.wav", c.file);
        EXPECT_FALSE(Load(path, printed));
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_NE(printed.find(path), std::string::npos) << printed;
        EXPECT_NE(printed.find(c.reason), std::string::npos) << printed;
    }
}

// Decoding ahead on a thread of its own: each naming of a file gets a sample of its own with
// the decoded frames; a file that fails says nothing there and is decoded again (with its one
// line) where it is asked for; what was not taken is forgotten.
TEST(SamplePrefetch, DecodesAheadQuietlyAndHandsOutWhatWasNamed) {
    TPcm pcm = MakeSine(1, 22050, 500, 440, 12000);
    TWavLayout wav;
    wav.hertz = 22050;
    wav.data = Pcm16Bytes(pcm);
    const std::u16string good = FromUtf8(WriteTempFile("ahead.wav", MakeWav(wav)));
    const std::u16string bad =
        FromUtf8(WriteTempFile("ahead-bad.wav", TBytes{'R', 'I', 'F', 'F', 9, 0}));
    const std::u16string other = FromUtf8(WriteTempFile("ahead-other.wav", MakeWav(wav)));
    testing::internal::CaptureStdout();
    PrefetchSamples({good, bad, good, other});
    AwaitPrefetch();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    TAudioSampleHandle first = TakePrefetchedSample(good), second = TakePrefetchedSample(good);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->samples, second->samples);
    EXPECT_EQ(Values16(*first), pcm.values);
    EXPECT_EQ(Values16(*second), pcm.values);
    EXPECT_EQ(first.use_count(), 1);
    EXPECT_EQ(TakePrefetchedSample(good), nullptr) << "named twice, taken twice";
    EXPECT_EQ(TakePrefetchedSample(bad), nullptr);
    std::string printed;
    EXPECT_EQ(Load(ToUtf8(bad), printed), nullptr);
    EXPECT_NE(printed.find("ahead-bad.wav"), std::string::npos) << printed;

    DropPrefetchedSamples();
    EXPECT_EQ(TakePrefetchedSample(other), nullptr);
}

TEST(SampleLoader, MissingFileGivesNoneWithALine) {
    std::string printed;
    EXPECT_FALSE(Load(TempPath("absent.ogg"), printed));
    EXPECT_NE(printed.find("absent.ogg"), std::string::npos);
}

double Rms(const std::vector<std::int16_t>& a, const std::vector<std::int16_t>& b, size_t n) {
    double sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum += double(a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum / double(n));
}

TEST(OggLoader, DecodesMonoAndStereoToTheirFrameCount) {
    struct Case {
        int channels, hertz, frames, format;
    } cases[] = {{1, 44100, 22050, SAMPLE_MONO16LE}, {2, 22050, 15000, SAMPLE_STEREO16LE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channels);
        TPcm pcm = MakeSine(c.channels, c.hertz, c.frames, 440, 16000);
        std::string printed;
        // The WAV loader is asked first, sees "OggS" and declines.
        TAudioSampleHandle sample = Load(WriteTempFile("tone.ogg", EncodeOgg(pcm)), printed);
        ASSERT_TRUE(sample) << printed;
        EXPECT_EQ(printed, "");
        EXPECT_EQ(sample->format, c.format);
        EXPECT_EQ(sample->hertz, c.hertz);
        EXPECT_EQ(sample->length, c.frames);
        // Lossy, but a clean sine comes back close: well under 2 % of its peak.
        std::vector<std::int16_t> got = Values16(*sample);
        EXPECT_LT(Rms(got, pcm.values, pcm.values.size()), 300.0);
    }
}

// Serves the whole file until its end has been read once (opening looks for the last page and
// so learns the announced length); from then on it runs dry at `cut`, as an archive entry
// whose data ends early would.
class TRunsDryStream : public TStream {
public:
    TRunsDryStream(TBytes bytes, int cut) : _bytes(std::move(bytes)), _cut(cut) {}
    int Pos() override { return _pos; }
    int Size() override { return int(_bytes.size()); }
    int Seek(int pos) override { return _pos = std::clamp(pos, 0, Size()); }
    int Read(void* buf, int count) override {
        int end = _end_seen ? _cut : Size();
        int n = std::max(0, std::min(count, end - _pos));
        std::memcpy(buf, _bytes.data() + _pos, size_t(n));
        _pos += n;
        if (_pos == Size()) _end_seen = true;
        return n;
    }

private:
    TBytes _bytes;
    int _cut;
    int _pos = 0;
    bool _end_seen = false;
};

// Offset of the first page that carries audio (header pages have granule position 0).
size_t FirstAudioPage(const TBytes& ogg) {
    size_t at = 0;
    while (at + 27 <= ogg.size()) {
        long long granule = 0;
        std::memcpy(&granule, &ogg[at + 6], 8);
        if (granule > 0) return at;
        size_t body = 0;
        for (int i = 0; i < ogg[at + 26]; ++i)
            body += ogg[at + 27 + i];
        at += 27 + ogg[at + 26] + body;
    }
    return ogg.size();
}

TEST(OggLoader, StopsWhereTheDataEndsBeforeTheAnnouncedLength) {
    // Noise, so that the audio spreads over many pages.
    TPcm pcm;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 3 * 44100; ++i) {
        seed = seed * 1664525u + 1013904223u;
        pcm.values.push_back(std::int16_t(int(seed >> 16) % 16000 - 8000));
    }
    TBytes file = EncodeOgg(pcm);
    size_t audio = FirstAudioPage(file);
    ASSERT_LT(audio, file.size());
    TRunsDryStream stream(file, int(audio + (file.size() - audio) / 2));
    auto start = std::chrono::steady_clock::now();
    TAudioSampleHandle sample = TAudioSampleLoaderOGG().LoadAudioSample(stream);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    ASSERT_TRUE(sample);
    EXPECT_GT(sample->length, pcm.Frames() / 4);
    EXPECT_LT(sample->length, pcm.Frames() * 3 / 4);
}

// The file with its last page claiming `granule` frames, the page's checksum made anew so that
// the page stays valid.
TBytes WithLastGranule(TBytes ogg, long long granule) {
    size_t at = 0, last = 0;
    while (at + 27 <= ogg.size()) {
        last = at;
        size_t body = 0;
        for (int i = 0; i < ogg[at + 26]; ++i)
            body += ogg[at + 27 + i];
        at += 27 + ogg[at + 26] + body;
    }
    std::memcpy(&ogg[last + 6], &granule, 8);
    ogg_page page;
    page.header = &ogg[last];
    page.header_len = 27 + ogg[last + 26];
    page.body = &ogg[last + size_t(page.header_len)];
    page.body_len = long(ogg.size() - last - size_t(page.header_len));
    ogg_page_checksum_set(&page);
    return ogg;
}

// Seeded noise, which takes several pages where a sine of the same length fits in one.
TPcm MakeNoise(int hertz, int frames) {
    TPcm pcm;
    pcm.hertz = hertz;
    std::uint32_t seed = 12345;
    for (int i = 0; i < frames; ++i) {
        seed = seed * 1664525u + 1013904223u;
        pcm.values.push_back(std::int16_t(int(seed >> 16) % 16000 - 8000));
    }
    return pcm;
}

TEST(OggLoader, MemoryFollowsTheDecodedDataNotTheAnnouncedLength) {
    const int hertz = 44100, frames = hertz; // one second
    const TBytes honest = EncodeOgg(MakeNoise(hertz, frames));
    // Only the last page lies: the decoder learns the start from the first audio page.
    ASSERT_LT(FirstAudioPage(honest) + 8192, honest.size());
    const long long real_bytes = frames * 2LL;
    std::vector<std::int16_t> honest_values;
    struct Case {
        const char* name;
        TBytes file;
    } cases[] = {{"honest", honest},
                 {"claims ten minutes", WithLastGranule(honest, 600LL * hertz)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TStreamHandle stream = OpenFileForReading(FromUtf8(WriteTempFile("long.ogg", c.file)));
        ASSERT_TRUE(stream);
        TAudioSampleHandle sample;
        long long peak = 0;
        {
            THeapPeak heap;
            sample = TAudioSampleLoaderOGG().LoadAudioSample(*stream);
            peak = heap.Peak();
        }
        CloseFileHandle(stream);
        ASSERT_TRUE(sample);
        // A false end lets the decoder keep the encoder's padding of the last block.
        EXPECT_GE(sample->length, frames);
        EXPECT_LE(sample->length, frames + 4096);
        EXPECT_EQ(sample->capacity, sample->ByteSize());
        // The sample and the buffer it was decoded into, with room for growing by doubling.
        EXPECT_LT(peak, 4 * real_bytes);
        // The same audio either way.
        std::vector<std::int16_t> values = Values16(*sample);
        values.resize(size_t(frames));
        if (honest_values.empty())
            honest_values = values;
        else
            EXPECT_EQ(values, honest_values);
    }
}

TEST(OggLoader, RefusesDamagedFilesWithOneLine) {
    TBytes good = EncodeOgg(MakeSine(1, 44100, 20000, 440, 16000));
    TBytes torn_headers(good.begin(), good.begin() + 60);
    TBytes garbage = {'O', 'g', 'g', 'S'};
    garbage.resize(500, 0x5A);
    TBytes scrambled = good; // headers intact, audio pages overwritten
    for (size_t i = scrambled.size() / 2; i < scrambled.size() / 2 + 400; ++i)
        scrambled[i] ^= 0xA5;
    struct Case {
        const char* name;
        TBytes file;
    } cases[] = {{"headers cut", torn_headers},
                 {"garbage after magic", garbage},
                 {"audio scrambled", scrambled}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string printed;
        std::string path = WriteTempFile("damaged.ogg", c.file);
        EXPECT_FALSE(Load(path, printed));
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
        EXPECT_NE(printed.find("Ogg Vorbis"), std::string::npos) << printed;
    }
}

} // namespace
} // namespace tonvella
