// Shared by the sound targets: one decoder of the game's chain over the input.
#pragma once

#include "fuzz/FuzzInput.h"
#include "media/sound/Loaders.h"
#include "media/sound/Sound.h"
#include "streams/Stream.h"

namespace tonvella::fuzz {

// Runs the registered decoder of type T on the input, catching what the game's loader chain
// catches; anything else escaping is a finding. A decoded sample is converted and made into a
// sound as the game does.
template <class T> void DecodeWith(const std::uint8_t* data, std::size_t size) {
    SetFuzzInput(data, size);
    T* decoder = nullptr;
    for (TAudioSampleLoader* l = FirstAudioSampleLoader(); l && !decoder; l = l->_succ)
        decoder = dynamic_cast<T*>(l);
    TStreamHandle stream = OpenFileForReading(u"fuzz::sound");
    TAudioSampleHandle sample;
    try {
        sample = decoder->LoadAudioSample(*stream);
    } catch (const TSampleFormatError&) {
    } catch (const TStreamException&) {}
    CloseFileHandle(stream);
    if (!sample) return;
    const int other = sample->format == SAMPLE_STEREO16LE ? SAMPLE_MONO8 : SAMPLE_STEREO16LE;
    sample->Convert(other);
    TSound::Load(sample, 0);
}

inline void InstallSoundInput() {
    InstallFuzzInput();
    ServeInputAs(u"sound");
    SelectAudioDriver(u"Null");
}

} // namespace tonvella::fuzz
