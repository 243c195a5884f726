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
