// Starting the "DirectSound" driver on one of SDL's stand-in audio drivers, and small samples.
#pragma once

#include "media/sound/DirectSound.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace tonvella::test {

// SDL reads these when the audio subsystem is opened, which SelectAudioDriver does afresh.
inline int StartDirectSoundOn(const char* sdl_driver, const std::string& disk_file = "") {
    setenv("SDL_AUDIODRIVER", sdl_driver, 1);
    if (!disk_file.empty()) setenv("SDL_DISKAUDIOFILE", disk_file.c_str(), 1);
    return SelectAudioDriver(u"DirectSound");
}

// Mono 16-bit, every frame the same value.
inline TAudioSampleHandle ConstantSample(int frames, int hertz, int value) {
    TAudioSampleHandle sample = CreateAudioSample(frames, hertz, SAMPLE_MONO16LE);
    for (int i = 0; i < frames; ++i) {
        sample->samples[2 * i] = std::uint8_t(value & 0xFF);
        sample->samples[2 * i + 1] = std::uint8_t((value >> 8) & 0xFF);
    }
    return sample;
}

template <class Predicate> bool WaitFor(Predicate done, int timeout_ms = 5000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

inline TMixBufferHandle BufferOf(const TChannelHandle& channel) {
    auto ds = std::dynamic_pointer_cast<TDirectSoundChannel>(channel);
    return ds ? ds->Buffer() : nullptr;
}

} // namespace tonvella::test
