#include "scene/Brush.h"

#include "scene/Texture.h"

#include <algorithm>

namespace tonvella {

std::shared_ptr<TBrush> TBrush::CreateBrush(float r, float g, float b) {
    auto brush = std::make_shared<TBrush>();
    brush->BrushColor(r, g, b);
    return brush;
}

std::shared_ptr<TBrush> TBrush::Copy() const {
    return std::make_shared<TBrush>(*this);
}

void TBrush::BrushColor(float r, float g, float b) {
    red = r / 255.0f;
    green = g / 255.0f;
    blue = b / 255.0f;
}

void TBrush::BrushAlpha(float a) {
    alpha = a;
}

void TBrush::BrushShininess(float s) {
    shine = s;
}

void TBrush::BrushBlend(int b) {
    blend = b;
}

void TBrush::BrushFX(int f) {
    fx = f;
}

void TBrush::BrushTexture(const std::shared_ptr<TTexture>& texture, int frame, int index) {
    // A layer outside the array would write past it; a missing texture (a failed load) has no
    // frames to clamp against.
    if (index < 0 || index >= kMaxLayers) return;
    tex[std::size_t(index)] = texture;
    no_texs = std::max(no_texs, index + 1);
    const int last = texture ? std::max(texture->no_frames - 1, 0) : 0;
    tex_frame = std::clamp(frame, 0, last);
}

void TBrush::Paint(const TBrush& from) {
    const int frame = tex_frame;
    *this = from;
    tex_frame = frame;
}

} // namespace tonvella
