// The two decoders, created in this order so that WAV is tried before Ogg Vorbis.
#pragma once

#include "media/sound/SampleLoader.h"

namespace tonvella {

// Decodes the whole first logical bitstream to 16-bit little-endian PCM.
class TAudioSampleLoaderOGG : public TAudioSampleLoader {
public:
    TAudioSampleHandle LoadAudioSample(TStream& stream) override;
};

// PCM RIFF WAVE files with 8 or 16 bits and one or two channels.
class TAudioSampleLoaderWAV : public TAudioSampleLoader {
public:
    TAudioSampleHandle LoadAudioSample(TStream& stream) override;
};

} // namespace tonvella
