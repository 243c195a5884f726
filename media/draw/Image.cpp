#include "media/draw/Image.h"

#include "media/Graphics.h"

namespace tonvella {

TImageHandle TImage::Create(int width, int height, int frame_count, int flags) {
    auto image = std::make_shared<TImage>();
    image->width = width;
    image->height = height;
    image->flags = flags;
    image->pixmaps.resize(std::size_t(frame_count));
    image->frames.resize(std::size_t(frame_count));
    image->seqs.resize(std::size_t(frame_count));
    return image;
}

void TImage::SetPixmap(int frame, const TPixmapHandle& pixmap) {
    if (frame < 0 || frame >= int(pixmaps.size())) return;
    TPixmapHandle stored = pixmap;
    if (pixmap && (flags & IMAGE_MASKED) && !FormatHasAlpha(pixmap->format))
        stored = MaskPixmap(*pixmap);
    pixmaps[std::size_t(frame)] = stored;
    frames[std::size_t(frame)].reset();
    seqs[std::size_t(frame)] = 0;
}

TGLImageFrame* TImage::Frame(int frame) {
    if (frame < 0 || frame >= int(pixmaps.size()) || !pixmaps[std::size_t(frame)]) return nullptr;
    const int seq = GraphicsSeq();
    auto& made = frames[std::size_t(frame)];
    if (!made || seqs[std::size_t(frame)] != seq) {
        made = TGLImageFrame::Create(*pixmaps[std::size_t(frame)], flags);
        seqs[std::size_t(frame)] = made ? seq : 0;
    }
    return made.get();
}

TImageHandle LoadImage(const TPixmapHandle& pixmap, int flags) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return nullptr;
    if (flags == -1) flags = IMAGE_DEFAULT_FLAGS;
    TImageHandle image = TImage::Create(pixmap->width, pixmap->height, 1, flags);
    image->SetPixmap(0, pixmap);
    return image;
}

TImageHandle LoadImage(const std::u16string& url, int flags) {
    return LoadImage(LoadPixmap(url), flags);
}

} // namespace tonvella
