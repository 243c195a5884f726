// A picture from the input through the texture loader: the PNG decoder with its size limits,
// then conversion, alpha, masking and the power-of-two resize the flags ask for.
#include "fuzz/FuzzInput.h"
#include "scene/Texture.h"

using namespace tonvella;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallFuzzInput();
    fuzz::ServeInputAs(u"picture.png");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SetFuzzInput(data, size);
    // Flags 2 (alpha from brightness), 4 (mask) and 8 (mipmaps) vary with the input.
    const int flags = 1 | int(size & 14);
    TTexture::LoadTexture(u"fuzz::picture.png", flags);
    // The texture cache would otherwise keep every decoded input.
    TextureList().Clear();
    return 0;
}
