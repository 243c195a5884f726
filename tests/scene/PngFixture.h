// Small PNG files written with libpng for the texture tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tonvella {

// PNG bytes of an image; `channels` 1 (grey), 2 (grey, alpha), 3 (RGB) or 4 (RGBA), rows of
// width * channels bytes, top row first.
std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels);

// PNG bytes with full control of the layout: libpng colour type and bit depth, packed rows as
// libpng expects them, an optional palette (RGB triples) with transparency, and interlacing.
std::vector<std::uint8_t> EncodePngRaw(int width, int height, int color_type, int bit_depth,
                                       const std::vector<std::uint8_t>& rows,
                                       const std::vector<std::uint8_t>& palette = {},
                                       const std::vector<std::uint8_t>& palette_alpha = {},
                                       bool interlaced = false);

// A fresh directory for one test, removed with the object.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    std::filesystem::path path;
    // Writes the bytes to a file in the directory and returns its full name.
    std::u16string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
};

} // namespace tonvella
