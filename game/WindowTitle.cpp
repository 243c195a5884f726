#include "game/WindowTitle.h"

#include "Translator/Translation.h"
#include "game/GameState.h"
#include "media/Graphics.h"
#include "media/Platform.h"

#include <algorithm>

namespace tonvella {

namespace {
const std::u16string kCredit = u"made with SDL2 and OpenGL";
}

std::u16string SetWindowTitle(int width) {
    std::u16string name = StripDirAndExt(ProgramPath());
    std::u16string suffix = u" (V" + Version + u")";
    std::u16string left = u"Quorvane Music Education Software: " + name + suffix;
    std::u16string right = kCredit + u" ";
    DebugPrint(Language);
    DebugPrint(left);
    if (width < int(left.size() + right.size())) {
        width += 30;
        left = name + suffix;
        right.clear();
    }
    int blanks = std::clamp(width - int(left.size()) - int(right.size()), 0, 68);
    std::u16string title = left + std::u16string(size_t(blanks), u' ') + right;
    SetAppTitle(title);
    return title;
}

} // namespace tonvella
