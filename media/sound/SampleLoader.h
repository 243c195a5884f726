// Decoders that turn sound files into samples. Loaders are tried newest first; each one looks
// at the stream from the same start.
#pragma once

#include "media/sound/AudioSample.h"

#include <stdexcept>
#include <string>

namespace tonvella {

class TStream;

// Limits every decoder applies before it allocates anything.
constexpr int SAMPLE_MAX_CHANNELS = 2;
constexpr int SAMPLE_MIN_HERTZ = 8000;
constexpr int SAMPLE_MAX_HERTZ = 192000;
constexpr int SAMPLE_MAX_SECONDS = 600;

// Thrown by a loader that recognised its format in data it cannot accept; the text names the
// reason. The loader chain moves on and reports the reason if nothing else loads the file.
class TSampleFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TAudioSampleLoader {
public:
    TAudioSampleLoader();          // prepends itself to the loader list
    virtual ~TAudioSampleLoader(); // and leaves it
    TAudioSampleLoader(const TAudioSampleLoader&) = delete;
    TAudioSampleLoader& operator=(const TAudioSampleLoader&) = delete;

    // The decoded sample, or none when the data is not of this loader's format.
    virtual TAudioSampleHandle LoadAudioSample(TStream& stream) = 0;

    TAudioSampleLoader* _succ = nullptr;
};

TAudioSampleLoader* FirstAudioSampleLoader();

// Opens the url and decodes it with the first loader that takes it; none (with one diagnostic
// line naming the file and the reason) when it cannot be opened or decoded. Runtime error
// "Stream is not seekable" for a stream without a position.
TAudioSampleHandle LoadSampleFromUrl(const std::u16string& url);
// The same without the diagnostic line: the reason ("cannot open", "data ends early", ...) is
// handed back instead, for a caller that reports it in its own words.
TAudioSampleHandle DecodeSampleFromUrl(const std::u16string& url, std::string& reason);
// Decodes an open stream from where it stands; the caller closes it.
TAudioSampleHandle DecodeSampleFromStream(TStream& stream, std::string& reason);

// Throws TSampleFormatError when channels, rate or length are outside the limits above, or
// beyond a shorter length a TSampleSecondsLimit asks for.
void CheckSampleLimits(const char* kind, long long channels, long long hertz, long long frames);

// While one exists, samples longer than `seconds` are refused before anything is allocated:
// sounds from a teacher's folder are held to a card's length, not to the ten minutes a decoder
// allows.
class TSampleSecondsLimit {
public:
    explicit TSampleSecondsLimit(int seconds);
    ~TSampleSecondsLimit();
    TSampleSecondsLimit(const TSampleSecondsLimit&) = delete;
    TSampleSecondsLimit& operator=(const TSampleSecondsLimit&) = delete;

private:
    int _outer;
};

} // namespace tonvella
