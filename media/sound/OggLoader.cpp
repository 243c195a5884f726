#include "media/sound/Loaders.h"

#include "streams/Stream.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vorbis/vorbisfile.h>

namespace tonvella {

namespace {

// The callbacks run inside C code: nothing may be thrown through it. A failing stream reads as
// an I/O error, which the decoder reports as such.
size_t ReadCallback(void* ptr, size_t size, size_t count, void* source) {
    if (size == 0 || count == 0) return 0;
    auto& stream = *static_cast<TStream*>(source);
    size_t wanted = size * count > size_t(INT_MAX) ? size_t(INT_MAX) / size * size : size * count;
    size_t got = 0;
    try {
        while (got < wanted) {
            int n = stream.Read(static_cast<char*>(ptr) + got, int(wanted - got));
            if (n <= 0) break;
            got += size_t(n);
        }
    } catch (...) {
        errno = EIO;
        return 0;
    }
    return got / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int origin) {
    auto& stream = *static_cast<TStream*>(source);
    try {
        long long base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? stream.Pos() : stream.Size();
        long long target = base + offset;
        if (target < 0 || target > INT_MAX) return -1;
        stream.Seek(int(target));
        return 0;
    } catch (...) {
        return -1;
    }
}

int CloseCallback(void*) {
    return 0; // the stream belongs to whoever opened it
}

long TellCallback(void* source) {
    try {
        return static_cast<TStream*>(source)->Pos();
    } catch (...) {
        return -1;
    }
}

struct TReader {
    OggVorbis_File file;
    bool open = false;
    ~TReader() {
        if (open) ov_clear(&file);
    }
};

bool LooksLikeOgg(TStream& stream) {
    int start = stream.Pos();
    char magic[4] = {};
    int got = 0;
    while (got < 4) {
        int n = stream.Read(magic + got, 4 - got);
        if (n <= 0) break;
        got += n;
    }
    stream.Seek(start);
    return got == 4 && std::memcmp(magic, "OggS", 4) == 0;
}

} // namespace

TAudioSampleHandle TAudioSampleLoaderOGG::LoadAudioSample(TStream& stream) {
    if (!LooksLikeOgg(stream)) return nullptr;
    const ov_callbacks callbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};
    TReader reader;
    int err = ov_open_callbacks(&stream, &reader.file, nullptr, 0, callbacks);
    if (err < 0)
        throw TSampleFormatError("Ogg Vorbis headers unreadable (" + std::to_string(err) + ")");
    reader.open = true;

    ogg_int64_t frames = ov_pcm_total(&reader.file, 0);
    vorbis_info* info = ov_info(&reader.file, -1);
    if (frames < 0 || !info) throw TSampleFormatError("Ogg Vorbis length unknown");
    CheckSampleLimits("Ogg Vorbis", info->channels, info->rate, frames);

    int format = info->channels == 1 ? SAMPLE_MONO16LE : SAMPLE_STEREO16LE;
    TAudioSampleHandle sample = CreateAudioSample(int(frames), int(info->rate), format);
    const int bpf = SampleBytesPerFrame(format);
    const int total = sample->ByteSize();
    int filled = 0;
    int first_link = -1;
    while (filled < total) {
        int link = 0;
        long n = ov_read(&reader.file, reinterpret_cast<char*>(sample->samples) + filled,
                         total - filled, 0, 2, 1, &link);
        if (n < 0) throw TSampleFormatError("Ogg Vorbis data damaged (" + std::to_string(n) + ")");
        // The data may end before the announced length, and a chained file goes on with a
        // stream of its own format: either way the sample ends here.
        if (n == 0) break;
        if (first_link < 0) first_link = link;
        if (link != first_link) break;
        filled += int(n);
    }
    if (filled < bpf) throw TSampleFormatError("Ogg Vorbis without audio data");
    sample->length = filled / bpf;
    return sample;
}

} // namespace tonvella
