#include "media/sound/Loaders.h"

#include "streams/Stream.h"

#include <cstring>
#include <string>

namespace tonvella {

namespace {

bool ReadTag(TStream& stream, const char* tag) {
    char id[4];
    stream.ReadBytes(id, 4);
    return std::memcmp(id, tag, 4) == 0;
}

long long ReadU32(TStream& stream) {
    return (long long)(unsigned)stream.ReadInt();
}

long long Remaining(TStream& stream) {
    return (long long)stream.Size() - stream.Pos();
}

// Lengths come straight from the file: everything is checked in 64 bits against what is left
// of the stream before it moves the position.
void SkipChecked(TStream& stream, long long count, const char* what) {
    if (count > Remaining(stream))
        throw TSampleFormatError(std::string("WAV ") + what + " runs past the end of the file");
    stream.Seek(int(stream.Pos() + count));
}

int FormatOf(int bits, int channels) {
    if (bits == 8 && channels == 1) return SAMPLE_MONO8;
    if (bits == 8 && channels == 2) return SAMPLE_STEREO8;
    if (bits == 16 && channels == 1) return SAMPLE_MONO16LE;
    if (bits == 16 && channels == 2) return SAMPLE_STEREO16LE;
    return 0;
}

} // namespace

TAudioSampleHandle TAudioSampleLoaderWAV::LoadAudioSample(TStream& stream) {
    if (!ReadTag(stream, "RIFF")) return nullptr;
    stream.ReadInt(); // RIFF size: files in the wild get it wrong, and the chunks say enough
    if (!ReadTag(stream, "WAVE")) return nullptr;
    if (!ReadTag(stream, "fmt ")) throw TSampleFormatError("WAV without leading format chunk");

    long long fmt_length = ReadU32(stream);
    if (fmt_length < 16) throw TSampleFormatError("WAV format chunk too short");
    int audio_format = stream.ReadShort();
    int channels = stream.ReadShort();
    long long hertz = ReadU32(stream);
    stream.ReadInt();   // byte rate
    stream.ReadShort(); // block align
    int bits = stream.ReadShort();
    if (audio_format != 1)
        throw TSampleFormatError("WAV not PCM (format " + std::to_string(audio_format) + ")");
    int format = FormatOf(bits, channels);
    if (format == 0)
        throw TSampleFormatError("WAV with " + std::to_string(bits) + " bits, " +
                                 std::to_string(channels) + " channels");
    SkipChecked(stream, fmt_length - 16, "format chunk");

    while (!stream.Eof()) {
        bool is_data = ReadTag(stream, "data");
        long long length = ReadU32(stream);
        if (!is_data) {
            SkipChecked(stream, length, "chunk");
            // Chunks are padded to even lengths; a writer that left off the final pad byte
            // does no harm.
            if ((length & 1) && Remaining(stream) > 0) SkipChecked(stream, 1, "chunk");
            continue;
        }
        int bpf = SampleBytesPerFrame(format);
        long long frames = length / bpf;
        CheckSampleLimits("WAV", channels, hertz, frames);
        if (frames * bpf > Remaining(stream))
            throw TSampleFormatError("WAV data runs past the end of the file");
        TAudioSampleHandle sample = CreateAudioSample(int(frames), int(hertz), format);
        // Whole frames only: a stray odd byte at the end of the chunk has no frame to go into.
        stream.ReadBytes(sample->samples, int(frames * bpf));
        return sample;
    }
    throw TSampleFormatError("WAV without data chunk");
}

} // namespace tonvella
