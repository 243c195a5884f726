#include "media/draw/Draw2D.h"

#include "media/Graphics.h"
#include "media/draw/BuiltinFont.h"
#include "media/draw/GLDriver.h"

#include <memory>

namespace tonvella {

namespace {

std::unique_ptr<TLumo2DGraphics> current_state;
bool buffers_cleared = false;

void GraphicsOpened(TGraphics* graphics) {
    auto state = std::make_unique<TLumo2DGraphics>();
    state->graphics = graphics;
    state->g_width = state->viewport_w = ScreenWidth();
    state->g_height = state->viewport_h = ScreenHeight();
    state->vres_width = float(state->g_width);
    state->vres_height = float(state->g_height);
    state->image_font = BuiltinFont();
    current_state = std::move(state);
    Lumo2DDriver().Attach(current_state->g_width, current_state->g_height);
    current_state->Apply();
    if (!buffers_cleared) {
        // Both buffers start from the clear colour, whichever the first frame lands in.
        buffers_cleared = true;
        for (int i = 0; i < 2; ++i) {
            Lumo2DDriver().Cls();
            PresentFrame(0);
        }
    }
}

// Registered while the program starts, so that every graphics opened later gets its state.
const bool listening = (AddGraphicsListener(&GraphicsOpened), true);

// The state of the graphics now open; a graphics opened before the listener existed gets one
// now, and drawing without graphics finds none.
TLumo2DGraphics* State() {
    (void)listening;
    TGraphics* graphics = CurrentGraphics();
    if (!graphics) return nullptr;
    if (!current_state || current_state->graphics != graphics) GraphicsOpened(graphics);
    return current_state.get();
}

} // namespace

void TLumo2DGraphics::Apply() {
    TGLLumo2DDriver& driver = Lumo2DDriver();
    driver.SetColor(color_red, color_green, color_blue);
    driver.SetAlpha(color_alpha);
    driver.SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
    driver.SetBlend(blend_mode);
}

TLumo2DGraphics* CurrentLumo2D() {
    return State();
}

TImageFontHandle BuiltinFont() {
    static TImageFontHandle font =
        std::make_shared<TImageFont>(std::make_unique<TBuiltinFont>(), 0);
    return font;
}

void ClearBackBuffer() {
    if (State()) Lumo2DDriver().Cls();
}

void SetClearColour(int red, int green, int blue) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    s->clscolor_red = red, s->clscolor_green = green, s->clscolor_blue = blue;
    Lumo2DDriver().SetClsColor(red, green, blue);
}

void SetDrawColour(int red, int green, int blue) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    s->color_red = red, s->color_green = green, s->color_blue = blue;
    Lumo2DDriver().SetColor(red, green, blue);
}

void SetDrawAlpha(float alpha) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    s->color_alpha = alpha;
    Lumo2DDriver().SetAlpha(alpha);
}

void SetBlendMode(int mode) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    s->blend_mode = mode;
    Lumo2DDriver().SetBlend(mode);
}

void FillRect(float x, float y, float width, float height) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    x += s->origin_x - s->handle_x;
    y += s->origin_y - s->handle_y;
    Lumo2DDriver().DrawRect(x, y, x + width, y + height);
}

TImageHandle LoadPicture(const std::u16string& url, int flags) {
    return LoadImage(url, flags);
}

TImageHandle LoadPicture(const TPixmapHandle& pixmap, int flags) {
    return LoadImage(pixmap, flags);
}

namespace {

void DrawImageRect(TImage& image, float x, float y, int frame) {
    TGLImageFrame* drawable = image.Frame(frame);
    if (!drawable) return;
    const float w = float(image.width), h = float(image.height);
    Lumo2DDriver().DrawFrame(*drawable, x, y, x + w, y + h, 0, 0, w * drawable->uscale,
                             h * drawable->vscale);
}

} // namespace

void DrawPicture(const TImageHandle& image, float x, float y, int frame) {
    TLumo2DGraphics* s = State();
    if (!s || !image) return;
    x += s->origin_x - s->handle_x - image->handle_x;
    y += s->origin_y - s->handle_y - image->handle_y;
    DrawImageRect(*image, x, y, frame);
}

TImageFontHandle LoadFontFile(const std::u16string& url, int size, int style) {
    return TImageFont::Load(url, size, style);
}

void SelectFont(const TImageFontHandle& font) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    s->image_font = font ? font : BuiltinFont();
}

void DrawString(const std::u16string& text, float x, float y) {
    TLumo2DGraphics* s = State();
    if (!s) return;
    TImageFont& font = *s->image_font;
    float pen = x + s->origin_x - s->handle_x;
    const float top = y + s->origin_y - s->handle_y;
    for (char16_t c : text) {
        const int index = font.CharToGlyph(c);
        if (index < 0) continue;
        const TImageGlyph& glyph = font.LoadGlyph(index);
        if (glyph._image)
            DrawImageRect(*glyph._image, pen + float(glyph._x), top + float(glyph._y), 0);
        pen += glyph._advance;
    }
}

int StringWidth(const std::u16string& text) {
    TLumo2DGraphics* s = State();
    TImageFontHandle font = s ? s->image_font : BuiltinFont();
    return font->StringWidth(text);
}

int FontHeight() {
    TLumo2DGraphics* s = State();
    TImageFontHandle font = s ? s->image_font : BuiltinFont();
    return font->Height();
}

} // namespace tonvella
