// 2D drawing over the 3D scene in window pixels: rectangles, pictures and text. Positions have
// (0, 0) at the top-left corner of the window, y downwards. Colours are 0..255 per channel.
#pragma once

#include "media/draw/Image.h"
#include "media/draw/ImageFont.h"

#include <string>

namespace tonvella {

class TGraphics;

// Blend modes of the 2D layer (not those of the scene's brushes, BLEND_*).
enum : int {
    BLEND2D_MASK = 1,  // solid, with the alpha test: alpha below 0.5 is not drawn
    BLEND2D_SOLID = 2, // solid
    BLEND2D_ALPHA = 3,
    BLEND2D_ADD = 4,
    BLEND2D_MULTIPLY = 5,
};

// The drawing state of one open graphics; the one of the current graphics is module-wide.
class TLumo2DGraphics {
public:
    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1;
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1;
    float tform_rot = 0;
    float tform_scale_x = 1, tform_scale_y = 1;
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0;
    TImageFontHandle image_font;
    int blend_mode = BLEND2D_MASK;
    float vres_width = 0, vres_height = 0;
    float vres_mousexscale = 1, vres_mouseyscale = 1;
    int g_width = 0, g_height = 0;
    TGraphics* graphics = nullptr;

    // Hands every value to the driver.
    void Apply();
};

// The state of the current graphics, made when the graphics were opened; none before.
TLumo2DGraphics* CurrentLumo2D();
// The 8 x 16 font for the characters 32..127.
TImageFontHandle BuiltinFont();

void ClearBackBuffer();
void SetClearColour(int red, int green, int blue);
void SetDrawColour(int red, int green, int blue);
void SetDrawAlpha(float alpha); // 0..1
void SetBlendMode(int mode);    // BLEND2D_*
void FillRect(float x, float y, float width, float height);

// Flags -1: masked and filtered. None when the source cannot be decoded.
TImageHandle LoadPicture(const std::u16string& url, int flags = -1);
TImageHandle LoadPicture(const TPixmapHandle& pixmap, int flags = -1);
// Draws nothing for none or a frame that cannot be made.
void DrawPicture(const TImageHandle& image, float x, float y, int frame = 0);

// Size in pixels, style FONT_* bits. None when the font cannot be opened.
TImageFontHandle LoadFontFile(const std::u16string& url, int size, int style);
// None selects the built-in font.
void SelectFont(const TImageFontHandle& font);
// (x, y) is the top-left of the text line.
void DrawString(const std::u16string& text, float x, float y);
int StringWidth(const std::u16string& text);
int FontHeight();

} // namespace tonvella
