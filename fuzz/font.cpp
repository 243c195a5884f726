// A TrueType face from the input through the game's font loader (FreeType, face from memory):
// the sizes the game asks for, then the glyphs of its texts, with and without the border.
#include "fuzz/FuzzInput.h"
#include "media/draw/FreeTypeFont.h"

using namespace tonvella;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::InstallFuzzInput();
    fuzz::ServeInputAs(u"font.ttf");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::SetFuzzInput(data, size);
    // A small and a large size, the second with the border of the smooth fonts.
    for (int style : {0, 4}) {
        auto font = TFreeTypeFont::Load(u"fuzz::font.ttf", style ? 48 : 12, style);
        if (!font) return 0;
        for (char16_t c : u"Sieger 0123 \u00e4\u00fc\u010d\u0159\u017e?")
            font->LoadGlyph(font->CharToGlyph(c));
        // Glyphs no character maps to, up to the end of the face and past it.
        for (int index = font->CountGlyphs() - 3; index <= font->CountGlyphs(); ++index)
            font->LoadGlyph(index);
    }
    return 0;
}
