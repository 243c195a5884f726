// Sound files made by the tests themselves, and helpers to put them on disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tonvella::test {

using TBytes = std::vector<std::uint8_t>;

// 16-bit frames, interleaved.
struct TPcm {
    int channels = 1;
    int hertz = 44100;
    std::vector<std::int16_t> values;
    int Frames() const { return int(values.size()) / channels; }
};

// A sine of the given frequency and peak, the same in every channel but scaled by channel
// index + 1 so that channel order shows.
TPcm MakeSine(int channels, int hertz, int frames, double frequency, double peak);

// A RIFF WAVE file; the chunk layout is the usual one unless a test takes it apart.
struct TWavLayout {
    int audio_format = 1;
    int channels = 1;
    long long hertz = 44100;
    int bits = 16;
    int extra_fmt_bytes = 0;       // format chunk longer than 16
    TBytes chunk_before_data = {}; // a whole chunk (id, length, body) placed before "data"
    long long data_length = -1;    // the announced length; -1: the real one
    TBytes data = {};
};
TBytes MakeWav(const TWavLayout& layout);
void Put32(TBytes& out, std::uint32_t value);
void Put16(TBytes& out, std::uint16_t value);

// Ogg Vorbis of the given PCM at quality 0.4.
TBytes EncodeOgg(const TPcm& pcm);

// A file in a fresh scratch folder of this test process; returns its path.
std::string WriteTempFile(const std::string& name, const TBytes& bytes);
TBytes ReadFileBytes(const std::string& path);
std::string TempPath(const std::string& name);

} // namespace tonvella::test
