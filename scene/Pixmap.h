// CPU images: decoded pictures for textures and for the 2D layer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tonvella {

class TStream;

// Pixel format codes.
enum : int {
    PF_I8 = 1,       // intensity
    PF_A8 = 2,       // alpha only
    PF_BGR888 = 3,   // B, G, R
    PF_RGB888 = 4,   // R, G, B
    PF_BGRA8888 = 5, // B, G, R, A
    PF_RGBA8888 = 6, // R, G, B, A
};

int BytesPerPixel(int format);
bool FormatHasAlpha(int format);

class TPixmap {
public:
    std::vector<std::uint8_t> pixels;
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes per row
    int format = 0;
    int capacity = 0; // bytes in `pixels`

    // Rows are padded to a multiple of `align` bytes. std::length_error, before anything is
    // allocated, for a negative side or more bytes than an int counts.
    static std::shared_ptr<TPixmap> Create(int width, int height, int format, int align = 4);

    std::uint8_t* Row(int y) { return pixels.data() + std::size_t(y) * pitch; }
    const std::uint8_t* Row(int y) const { return pixels.data() + std::size_t(y) * pitch; }

    std::shared_ptr<TPixmap> Convert(int format) const;
    // Bilinear resize; the result keeps this pixmap's format.
    std::shared_ptr<TPixmap> Resize(int width, int height) const;
};

using TPixmapHandle = std::shared_ptr<TPixmap>;

// R, G, B, A copy with alpha = (r + g + b) / 3.
TPixmapHandle AlphaFromBrightness(const TPixmap& source);
// R, G, B, A copy in which pure black is transparent and takes the average colour of its
// non-black neighbours, so that filtering does not darken the edges.
TPixmapHandle MaskPixmap(const TPixmap& source);
// Smallest power of two not below n (1 for n <= 1).
int PowerOfTwoAtLeast(int n);

// Decodes the image at a URL; none when it cannot be opened or no loader understands it.
TPixmapHandle LoadPixmap(const std::u16string& url);
// Decodes from the current position of an open stream, which stays open.
TPixmapHandle LoadPixmap(TStream& stream);

} // namespace tonvella
