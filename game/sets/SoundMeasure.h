// What the checker hears in a decoded sound: its length, its loudness, and how long it stays
// silent before it begins.
#pragma once

#include "media/sound/AudioSample.h"

namespace tonvella {

struct TSoundMeasure {
    double seconds = 0;
    bool silent = true;        // nothing above -60 dBFS
    double loudness = -70;     // integrated loudness in LUFS (ITU-R BS.1770, gated)
    double silence_before = 0; // seconds before the first sample within 40 dB of the peak
};

TSoundMeasure MeasureSound(const TAudioSample& sample);

} // namespace tonvella
