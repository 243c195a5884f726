// Frame textures: sizes the driver accepts, edge padding, filters and mipmap chains.
#include "media/Graphics.h"
#include "media/draw/Image.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tonvella {

namespace {

// Never destroyed: frames held by other static objects (the built-in font, the 2D state's
// current font) are destroyed at exit after any static list would be, and still add their
// names here.
std::vector<std::pair<unsigned, int>>& DeathRow() {
    static auto* names = new std::vector<std::pair<unsigned, int>>;
    return *names;
}

void DeleteDeadTextures(int seq) {
    auto& names = DeathRow();
    for (auto it = names.begin(); it != names.end();) {
        if (it->second == seq) {
            GLuint name = it->first;
            glDeleteTextures(1, &name);
            it = names.erase(it);
        } else {
            ++it;
        }
    }
}

bool SizeAccepted(int w, int h) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint got = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &got);
    return got != 0;
}

void TextureSize(int& w, int& h) {
    while (!SizeAccepted(w, h)) {
        if (w == 1 && h == 1) throw std::runtime_error("Unable to calculate tex size");
        if (w > 1) w /= 2;
        if (h > 1) h /= 2;
    }
}

// The picture in the top-left corner of a texture-sized pixmap, its last column and row repeated
// once beyond it so that filtering at the edge reads picture texels.
TPixmapHandle Padded(const TPixmap& rgba, int tw, int th) {
    TPixmapHandle out = TPixmap::Create(tw, th, PF_RGBA8888, 4);
    std::fill(out->pixels.begin(), out->pixels.end(), 0);
    const int w = rgba.width, h = rgba.height;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* dst = out->Row(y);
        std::memcpy(dst, rgba.Row(y), std::size_t(w) * 4);
        if (w < tw) std::memcpy(dst + std::size_t(w) * 4, dst + std::size_t(w - 1) * 4, 4);
    }
    if (h < th) {
        const int n = std::min(w + 1, tw);
        std::memcpy(out->Row(h), out->Row(h - 1), std::size_t(n) * 4);
    }
    return out;
}

void Upload(int level, const TPixmap& p) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, p.pitch / 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, p.width, p.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 p.pixels.data());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

} // namespace

int PendingTextureDeletions() {
    return int(DeathRow().size());
}

std::unique_ptr<TGLImageFrame> TGLImageFrame::Create(const TPixmap& pixmap, int flags) {
    if (!CurrentGraphics() || pixmap.width <= 0 || pixmap.height <= 0) return nullptr;
    // An R, G, B, A picture that needs neither shrinking nor padding is uploaded as it is;
    // every other step makes the one pixmap it needs.
    TPixmapHandle made;
    const TPixmap* rgba = &pixmap;
    if (pixmap.format != PF_RGBA8888) {
        made = pixmap.Convert(PF_RGBA8888);
        rgba = made.get();
    }
    int tw = PowerOfTwoAtLeast(rgba->width), th = PowerOfTwoAtLeast(rgba->height);
    TextureSize(tw, th);
    if (rgba->width > tw || rgba->height > th) {
        made = rgba->Resize(std::min(rgba->width, tw), std::min(rgba->height, th));
        rgba = made.get();
    }
    const int area_w = rgba->width, area_h = rgba->height;
    if (area_w < tw || area_h < th) {
        made = Padded(*rgba, tw, th);
        rgba = made.get();
    }

    const int seq = GraphicsSeq();
    DeleteDeadTextures(seq);
    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0) return nullptr;
    // The 2D driver caches its bound texture; keep its binding as it was.
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const bool filtered = flags & IMAGE_FILTERED, mipmapped = flags & IMAGE_MIPMAPPED;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
    GLint min_filter = filtered ? GL_LINEAR : GL_NEAREST;
    if (mipmapped) min_filter = filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min_filter);

    Upload(0, *rgba);
    if (mipmapped) {
        int w = tw, h = th, level = 0;
        TPixmapHandle level_pixmap;
        while (w > 1 || h > 1) {
            if (w > 1) w /= 2;
            if (h > 1) h /= 2;
            level_pixmap = (level_pixmap ? *level_pixmap : *rgba).Resize(w, h);
            Upload(++level, *level_pixmap);
        }
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));

    auto frame = std::make_unique<TGLImageFrame>();
    frame->name = name;
    frame->seq = seq;
    frame->uscale = 1.0f / float(tw);
    frame->vscale = 1.0f / float(th);
    frame->u1 = float(area_w) * frame->uscale;
    frame->v1 = float(area_h) * frame->vscale;
    return frame;
}

TGLImageFrame::~TGLImageFrame() {
    if (name != 0) DeathRow().emplace_back(name, seq);
}

} // namespace tonvella
