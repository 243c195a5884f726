// Materials: colour, alpha, shininess, blend mode, effect bits and eight texture layers.
#pragma once

#include <array>
#include <memory>
#include <string>

namespace tonvella {

class TTexture;

// Blend modes of a brush (the layers' modes are TEXBLEND_*, the 2D layer's BLEND2D_*). An
// entity brush's BLEND_NONE lets the surface brush decide; both none blend as alpha.
enum : int { BLEND_NONE = 0, BLEND_ALPHA = 1, BLEND_MULTIPLY = 2, BLEND_ADD = 3 };

// Effect bits of a brush; an entity's and its surface's are ORed.
enum : int {
    FX_FULLBRIGHT = 1,  // lit as if the ambient light were white
    FX_VERTEXCOLOR = 2, // vertex colours drive the material
    FX_FLATSHADED = 4,
    FX_NOFOG = 8,
    FX_NOCULL = 16,     // both sides drawn
    FX_FORCEALPHA = 32, // blended even when opaque
};

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
