// Decoded PCM in memory, the form every sound loader produces and every audio driver takes.
#pragma once

#include <cstdint>
#include <memory>

namespace tonvella {

// Sample formats; frames are interleaved, left channel first.
enum : int {
    SAMPLE_MONO8 = 1,      // 8-bit as stored in WAV files (unsigned)
    SAMPLE_MONO16LE = 2,   // 16-bit signed little-endian
    SAMPLE_MONO16BE = 3,   // 16-bit signed big-endian
    SAMPLE_STEREO8 = 4,    // 8-bit
    SAMPLE_STEREO16LE = 5, // 16-bit signed little-endian
    SAMPLE_STEREO16BE = 6, // 16-bit signed big-endian
};

// Channel count and bytes per frame of a format; 0 for codes that are no format.
int SampleChannels(int format);
int SampleBytesPerFrame(int format);

class TAudioSample;
using TAudioSampleHandle = std::shared_ptr<TAudioSample>;

class TAudioSample {
public:
    std::uint8_t* samples = nullptr; // the PCM frames
    int length = 0;                  // frames
    int hertz = 0;                   // frames per second
    int format = 0;
    int capacity = 0; // bytes allocated for samples; -1 when the memory belongs to someone else

    ~TAudioSample();
    TAudioSample(const TAudioSample&) = delete;
    TAudioSample& operator=(const TAudioSample&) = delete;

    int ByteSize() const { return length * SampleBytesPerFrame(format); }
    // A new sample in another format; runtime error "Unimplemented sample format conversion"
    // for codes that are no format.
    TAudioSampleHandle Convert(int to_format) const;
    TAudioSampleHandle Copy() const;

private:
    TAudioSample() = default;
    friend TAudioSampleHandle CreateAudioSample(int, int, int);
    friend TAudioSampleHandle CreateStaticAudioSample(std::uint8_t*, int, int, int);
};

// A zero-filled sample owning its memory; runtime error for an unknown format or a size that
// does not fit an int.
TAudioSampleHandle CreateAudioSample(int length, int hertz, int format);
// A sample over memory the caller keeps alive and frees.
TAudioSampleHandle CreateStaticAudioSample(std::uint8_t* samples, int length, int hertz,
                                           int format);

} // namespace tonvella
