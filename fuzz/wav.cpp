// A WAV file from the input through the game's WAV decoder.
#include "fuzz/SoundInput.h"

using namespace tonvella;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallSoundInput();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::DecodeWith<TAudioSampleLoaderWAV>(data, size);
    return 0;
}
