// Materials: colour, alpha, shininess, blend mode, effect bits and eight texture layers.
#pragma once

#include <array>
#include <memory>
#include <string>

namespace tonvella {

class TTexture;

// Blend modes: 0 none chosen, 1 alpha, 2 multiply, 3 add.
// Effect bits: 1 full bright, 2 vertex colours, 4 flat shading, 8 no fog, 16 both sides,
// 32 force alpha blending.
class TBrush {
public:
    static constexpr int kMaxLayers = 8;

    int no_texs = 0; // highest used layer + 1
    std::u16string name;
    float red = 1, green = 1, blue = 1; // 0..1
    float alpha = 1;
    float shine = 0;
    int blend = 0;
    int fx = 0;
    int tex_frame = 0;
    std::array<std::shared_ptr<TTexture>, kMaxLayers> tex; // shared, never copied

    // Colour in 0..255 per channel.
    static std::shared_ptr<TBrush> CreateBrush(float red = 255, float green = 255,
                                               float blue = 255);
    std::shared_ptr<TBrush> Copy() const;

    void BrushColor(float red, float green, float blue); // 0..255
    void BrushAlpha(float alpha);
    void BrushShininess(float shine);
    void BrushBlend(int blend);
    void BrushFX(int fx);
    // Layer index 0..7 (others are ignored); the frame is clamped to the texture's frames.
    void BrushTexture(const std::shared_ptr<TTexture>& texture, int frame = 0, int index = 0);
    // Takes every value of `from` except the frame (painting).
    void Paint(const TBrush& from);
};

using TBrushHandle = std::shared_ptr<TBrush>;

} // namespace tonvella
