#include "media/sound/Loaders.h"

#include "streams/Stream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>
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

// Decoding starts into this much (a quarter second of CD stereo) and doubles from there.
constexpr long long kFirstBlockBytes = 44100;

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
    const int bpf = SampleBytesPerFrame(format);
    // The announced length is the last page's claim and is believed only as an upper bound:
    // the buffer grows with what is really decoded, so a second of sound that claims ten
    // minutes costs a second's worth of memory.
    const long long announced = frames * bpf;
    std::vector<std::uint8_t> pcm;
    std::size_t filled = 0;
    int first_link = -1;
    while ((long long)filled < announced) {
        if (filled == pcm.size()) {
            const long long grown =
                std::max<long long>(kFirstBlockBytes, (long long)pcm.size() * 2);
            pcm.resize(std::size_t(std::min(grown, announced)));
        }
        const std::size_t room = std::min<std::size_t>(pcm.size() - filled, INT_MAX);
        int link = 0;
        long n = ov_read(&reader.file, reinterpret_cast<char*>(pcm.data() + filled), int(room), 0,
                         2, 1, &link);
        if (n < 0) throw TSampleFormatError("Ogg Vorbis data damaged (" + std::to_string(n) + ")");
        // The data may end before the announced length, and a chained file goes on with a
        // stream of its own format: either way the sample ends here.
        if (n == 0) break;
        if (first_link < 0) first_link = link;
        if (link != first_link) break;
        filled += std::size_t(n);
    }
    if (filled < std::size_t(bpf)) throw TSampleFormatError("Ogg Vorbis without audio data");
    // The sample holds exactly the decoded frames and nothing of the growth reserve.
    TAudioSampleHandle sample = CreateAudioSample(int(filled / bpf), int(info->rate), format);
    std::memcpy(sample->samples, pcm.data(), std::size_t(sample->ByteSize()));
    return sample;
}

} // namespace tonvella
