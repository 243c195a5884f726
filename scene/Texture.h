// Textures made from image files, cached by file name, flags and transform.
#pragma once

#include "scene/List.h"
#include "scene/Pixmap.h"

#include <future>
#include <memory>
#include <string>
#include <vector>

namespace tonvella {

// Texture flags.
enum : int {
    TEX_COLOR = 1,
    TEX_ALPHA = 2,  // alpha from brightness when the image has none; makes its mesh transparent
    TEX_MASKED = 4, // black is transparent
    TEX_MIPMAPPED = 8,
    TEX_CLAMPU = 16,
    TEX_CLAMPV = 32,
    TEX_SPHEREMAP = 64,
};

// How a texture layer combines with the layers below it (TTexture::blend).
enum : int {
    TEXBLEND_REPLACE = 1, // 0 too
    TEXBLEND_MODULATE = 2,
    TEXBLEND_ADD = 3,
    TEXBLEND_DOT3 = 4,
    TEXBLEND_MODULATE2X = 5,
};

class TTexture {
public:
    std::u16string file; // as loaded, after directory stripping
    int flags = 0;
    int blend = TEXBLEND_MODULATE; // applied when drawing
    int coords = 0;                // texture-coordinate set 0 or 1
    float u_scale = 1, v_scale = 1;
    float u_pos = 0, v_pos = 0;
    float angle = 0; // degrees
    std::u16string file_abs;
    int width = 0, height = 0; // level 0, powers of two
    std::vector<unsigned> gltex{0};
    int no_frames = 1;
    int no_mipmaps = 0; // index of the last mipmap level

    // Level 0 in R, G, B, A after the load-time processing (alpha, mask, sides made powers of
    // two), then, with TEX_MIPMAPPED, levels 1 to no_mipmaps.
    struct TLevels {
        TPixmapHandle base;
        std::vector<TPixmapHandle> smaller;
    };
    // The levels are made on a thread of their own from the load on, so that neither the load
    // nor the upload in the first frame that shows the texture waits for them. None once
    // uploaded.
    std::shared_future<TLevels> levels;
    // Level 0 (waits until it is made); none once uploaded.
    TPixmapHandle Pixmap() const;

    // None when the file cannot be found or decoded.
    static std::shared_ptr<TTexture> LoadTexture(const std::u16string& file, int flags = TEX_COLOR);
    // Every later load whose file name contains `text` also gets `flags`.
    static void TextureFilter(const std::u16string& text, int flags);

    void ScaleTexture(float u, float v); // size of one repeat: stores 1/u, 1/v
    void RotateTexture(float angle);
    void PositionTexture(float u, float v);
    void TextureBlend(int blend);
    void TextureCoords(int coords);

    // Makes the graphics texture of frame 0 on first use and returns its name (0 while there is
    // no graphics backend). Uploads level 0 and, with flag 8, the whole mipmap chain, then lets
    // go of the levels.
    unsigned Upload();
};

using TTextureHandle = std::shared_ptr<TTexture>;

struct TTextureFilter {
    std::u16string text;
    int flags = 0;
};

// Filters in insertion order, and every texture loaded, in load order (the cache).
TList<TTextureFilter>& TextureFilterList();
TList<TTexture>& TextureList();

} // namespace tonvella
