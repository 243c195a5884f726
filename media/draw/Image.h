// Pictures for the 2D layer: CPU pixmaps per frame, turned into OpenGL textures when first drawn.
#pragma once

#include "scene/Pixmap.h"

#include <memory>
#include <string>
#include <vector>

namespace tonvella {

// Image flags.
enum : int {
    IMAGE_MASKED = 1,
    IMAGE_FILTERED = 2,
    IMAGE_MIPMAPPED = 4,
    IMAGE_DEFAULT_FLAGS = IMAGE_MASKED | IMAGE_FILTERED,
};

// The OpenGL form of one frame. Destroying it queues its texture for deletion in its context.
class TGLImageFrame {
public:
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1; // texture coordinates of the picture's area
    float uscale = 1, vscale = 1;         // 1 / texture width, 1 / texture height
    unsigned name = 0;
    int seq = 0; // graphics sequence number of the context the texture lives in

    // Throws "Unable to calculate tex size" when the driver accepts no texture size at all.
    static std::unique_ptr<TGLImageFrame> Create(const TPixmap& pixmap, int flags);
    ~TGLImageFrame();
};

class TImage {
public:
    int width = 0, height = 0;
    int flags = 0;
    int mask_r = 0, mask_g = 0, mask_b = 0;
    float handle_x = 0, handle_y = 0;
    std::vector<TPixmapHandle> pixmaps;
    std::vector<std::unique_ptr<TGLImageFrame>> frames;
    std::vector<int> seqs;

    static std::shared_ptr<TImage> Create(int width, int height, int frame_count, int flags);
    // Masked images take transparency from the mask colour unless the pixmap has alpha itself.
    void SetPixmap(int frame, const TPixmapHandle& pixmap);
    // The drawable frame, made again after the graphics changed; none when it cannot be made.
    TGLImageFrame* Frame(int frame);
};

using TImageHandle = std::shared_ptr<TImage>;

// Flags -1 mean the default flags. None when the source cannot be decoded.
TImageHandle LoadImage(const std::u16string& url, int flags = -1);
TImageHandle LoadImage(const TPixmapHandle& pixmap, int flags = -1);

// Textures of destroyed frames waiting for their context; deleted when the next frame texture
// of that context is made.
int PendingTextureDeletions();

} // namespace tonvella
