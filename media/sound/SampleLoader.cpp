#include "media/sound/SampleLoader.h"

#include "media/Platform.h"
#include "media/Registry.h"
#include "media/Text.h"
#include "media/sound/Loaders.h"
#include "streams/Stream.h"

#include <string>

namespace tonvella {

namespace {

TAudioSampleLoader* loader_head = nullptr;
int seconds_limit = SAMPLE_MAX_SECONDS;

// Made on first use, not by static initialisers, which a static library would drop.
void RegisterSampleLoaders() {
    static const bool registered = [] {
        new TAudioSampleLoaderOGG;
        new TAudioSampleLoaderWAV;
        return true;
    }();
    (void)registered;
}

struct TCloseAtEnd {
    TStreamHandle stream;
    ~TCloseAtEnd() { CloseFileHandle(stream); }
};

void Refuse(const std::u16string& url, const std::string& reason) {
    DebugPrint(u"Sound not loaded: " + url + u" (" + FromUtf8(reason) + u")");
}

} // namespace

TAudioSampleLoader::TAudioSampleLoader() {
    RegistryAdd(loader_head, this);
}

TAudioSampleLoader::~TAudioSampleLoader() {
    RegistryRemove(loader_head, this);
}

TAudioSampleLoader* FirstAudioSampleLoader() {
    RegisterSampleLoaders();
    return loader_head;
}

void CheckSampleLimits(const char* kind, long long channels, long long hertz, long long frames) {
    std::string what = kind;
    if (channels < 1 || channels > SAMPLE_MAX_CHANNELS)
        throw TSampleFormatError(what + " with " + std::to_string(channels) + " channels");
    if (hertz < SAMPLE_MIN_HERTZ || hertz > SAMPLE_MAX_HERTZ)
        throw TSampleFormatError(what + " at " + std::to_string(hertz) + " Hz");
    if (frames <= 0) throw TSampleFormatError(what + " without audio data");
    if (frames > hertz * seconds_limit) {
        throw TSampleFormatError(what + " longer than " +
                                 (seconds_limit % 60 == 0
                                      ? std::to_string(seconds_limit / 60) + " minutes"
                                      : std::to_string(seconds_limit) + " seconds"));
    }
}

TSampleSecondsLimit::TSampleSecondsLimit(int seconds) : _outer(seconds_limit) {
    if (seconds < seconds_limit) seconds_limit = seconds;
}

TSampleSecondsLimit::~TSampleSecondsLimit() {
    seconds_limit = _outer;
}

TAudioSampleHandle LoadSampleFromUrl(const std::u16string& url) {
    std::string reason;
    TAudioSampleHandle sample = DecodeSampleFromUrl(url, reason);
    if (!sample) Refuse(url, reason);
    return sample;
}

TAudioSampleHandle DecodeSampleFromUrl(const std::u16string& url, std::string& reason) {
    reason.clear();
    TStreamHandle stream = OpenFileForReading(url);
    if (!stream) {
        reason = "cannot open";
        return nullptr;
    }
    TCloseAtEnd closer{stream};
    return DecodeSampleFromStream(*stream, reason);
}

TAudioSampleHandle DecodeSampleFromStream(TStream& stream, std::string& reason) {
    reason.clear();
    int start = stream.Pos();
    if (start == -1) throw TRuntimeException("Stream is not seekable");

    bool truncated = false;
    for (TAudioSampleLoader* loader = FirstAudioSampleLoader(); loader; loader = loader->_succ) {
        stream.Seek(start);
        try {
            if (TAudioSampleHandle sample = loader->LoadAudioSample(stream)) return sample;
        } catch (const TSampleFormatError& e) {
            if (reason.empty()) reason = e.what();
        } catch (const TStreamException&) {
            truncated = true; // not this loader's format, or its data ends early
        }
    }
    if (reason.empty()) reason = truncated ? "data ends early" : "unknown format";
    return nullptr;
}

} // namespace tonvella
