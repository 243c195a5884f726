#include "media/Shell.h"

#include "media/Text.h"

#include <SDL2/SDL.h>

namespace tonvella {

namespace {
std::string last_error;
}

bool OpenUrlWithDesktop(const std::u16string& url) {
    if (SDL_OpenURL(ToUtf8(url).c_str()) == 0) {
        last_error.clear();
        return true;
    }
    last_error = SDL_GetError();
    return false;
}

const std::string& ShellError() {
    return last_error;
}

} // namespace tonvella
