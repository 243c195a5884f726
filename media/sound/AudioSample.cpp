#include "media/sound/AudioSample.h"

#include <cstring>
#include <limits>
#include <stdexcept>

namespace tonvella {

int SampleChannels(int format) {
    switch (format) {
    case SAMPLE_MONO8:
    case SAMPLE_MONO16LE:
    case SAMPLE_MONO16BE:
        return 1;
    case SAMPLE_STEREO8:
    case SAMPLE_STEREO16LE:
    case SAMPLE_STEREO16BE:
        return 2;
    default:
        return 0;
    }
}

int SampleBytesPerFrame(int format) {
    switch (format) {
    case SAMPLE_MONO8:
        return 1;
    case SAMPLE_MONO16LE:
    case SAMPLE_MONO16BE:
    case SAMPLE_STEREO8:
        return 2;
    case SAMPLE_STEREO16LE:
    case SAMPLE_STEREO16BE:
        return 4;
    default:
        return 0;
    }
}

TAudioSample::~TAudioSample() {
    if (capacity >= 0) delete[] samples;
}

TAudioSampleHandle CreateAudioSample(int length, int hertz, int format) {
    int bpf = SampleBytesPerFrame(format);
    if (bpf == 0) throw std::runtime_error("Unknown sample format");
    if (length < 0 || (long long)length * bpf > std::numeric_limits<int>::max())
        throw std::runtime_error("Sample too large");
    TAudioSampleHandle sample(new TAudioSample);
    sample->capacity = length * bpf;
    sample->samples = new std::uint8_t[size_t(sample->capacity)]();
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    return sample;
}

TAudioSampleHandle CreateStaticAudioSample(std::uint8_t* samples, int length, int hertz,
                                           int format) {
    TAudioSampleHandle sample(new TAudioSample);
    sample->samples = samples;
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    sample->capacity = -1;
    return sample;
}

namespace {

// Every format passes through signed 16-bit left/right values on its way to another.
void ReadFrame(const std::uint8_t* p, int format, int& left, int& right) {
    switch (format) {
    case SAMPLE_MONO8:
        left = right = (int(p[0]) - 128) * 256;
        return;
    case SAMPLE_STEREO8:
        left = (int(p[0]) - 128) * 256;
        right = (int(p[1]) - 128) * 256;
        return;
    case SAMPLE_MONO16LE:
        left = right = std::int16_t(p[0] | p[1] << 8);
        return;
    case SAMPLE_MONO16BE:
        left = right = std::int16_t(p[1] | p[0] << 8);
        return;
    case SAMPLE_STEREO16LE:
        left = std::int16_t(p[0] | p[1] << 8);
        right = std::int16_t(p[2] | p[3] << 8);
        return;
    case SAMPLE_STEREO16BE:
        left = std::int16_t(p[1] | p[0] << 8);
        right = std::int16_t(p[3] | p[2] << 8);
        return;
    }
}

void Put16(std::uint8_t* p, int value, bool big_endian) {
    std::uint16_t v = std::uint16_t(std::int16_t(value));
    p[big_endian ? 1 : 0] = std::uint8_t(v & 0xFF);
    p[big_endian ? 0 : 1] = std::uint8_t(v >> 8);
}

void WriteFrame(std::uint8_t* p, int format, int left, int right) {
    int mono = (left + right) / 2;
    switch (format) {
    case SAMPLE_MONO8:
        p[0] = std::uint8_t((mono >> 8) + 128);
        return;
    case SAMPLE_STEREO8:
        p[0] = std::uint8_t((left >> 8) + 128);
        p[1] = std::uint8_t((right >> 8) + 128);
        return;
    case SAMPLE_MONO16LE:
    case SAMPLE_MONO16BE:
        Put16(p, mono, format == SAMPLE_MONO16BE);
        return;
    case SAMPLE_STEREO16LE:
    case SAMPLE_STEREO16BE:
        Put16(p, left, format == SAMPLE_STEREO16BE);
        Put16(p + 2, right, format == SAMPLE_STEREO16BE);
        return;
    }
}

} // namespace

TAudioSampleHandle TAudioSample::Convert(int to_format) const {
    int from_bpf = SampleBytesPerFrame(format);
    int to_bpf = SampleBytesPerFrame(to_format);
    if (from_bpf == 0 || to_bpf == 0)
        throw std::runtime_error("Unimplemented sample format conversion");
    TAudioSampleHandle out = CreateAudioSample(length, hertz, to_format);
    for (int i = 0; i < length; ++i) {
        int left = 0, right = 0;
        ReadFrame(samples + size_t(i) * from_bpf, format, left, right);
        WriteFrame(out->samples + size_t(i) * to_bpf, to_format, left, right);
    }
    return out;
}

TAudioSampleHandle TAudioSample::Copy() const {
    TAudioSampleHandle out = CreateAudioSample(length, hertz, format);
    if (ByteSize() > 0) std::memcpy(out->samples, samples, size_t(ByteSize()));
    return out;
}

} // namespace tonvella
