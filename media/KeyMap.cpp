#include "KeyMap.h"

#include <SDL2/SDL_keyboard.h>

namespace tonvella {

namespace {

int ByScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return '1' + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return '0';
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return 112 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return 97 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_KP_0:
        return 96;
    case SDL_SCANCODE_KP_MULTIPLY:
        return 106;
    case SDL_SCANCODE_KP_PLUS:
        return 107;
    case SDL_SCANCODE_KP_MINUS:
        return 109;
    case SDL_SCANCODE_KP_PERIOD:
        return 110;
    case SDL_SCANCODE_KP_DIVIDE:
        return 111;
    case SDL_SCANCODE_KP_ENTER:
        return 13;
    case SDL_SCANCODE_LSHIFT:
        return 160;
    case SDL_SCANCODE_RSHIFT:
        return 161;
    case SDL_SCANCODE_LCTRL:
        return 162;
    case SDL_SCANCODE_RCTRL:
        return 163;
    case SDL_SCANCODE_LALT:
        return 164;
    case SDL_SCANCODE_RALT:
        return 165;
    case SDL_SCANCODE_LGUI:
        return 91;
    case SDL_SCANCODE_RGUI:
        return 92;
    default:
        return 0;
    }
}

int ByKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    switch (key) {
    case SDLK_BACKSPACE:
        return 8;
    case SDLK_TAB:
        return 9;
    case SDLK_RETURN:
        return 13;
    case SDLK_PAUSE:
        return 19;
    case SDLK_CAPSLOCK:
        return 20;
    case SDLK_ESCAPE:
        return 27;
    case SDLK_SPACE:
        return 32;
    case SDLK_PAGEUP:
        return 33;
    case SDLK_PAGEDOWN:
        return 34;
    case SDLK_END:
        return 35;
    case SDLK_HOME:
        return 36;
    case SDLK_LEFT:
        return 37;
    case SDLK_UP:
        return 38;
    case SDLK_RIGHT:
        return 39;
    case SDLK_DOWN:
        return 40;
    case SDLK_PRINTSCREEN:
        return 44;
    case SDLK_INSERT:
        return 45;
    case SDLK_DELETE:
        return 46;
    case SDLK_NUMLOCKCLEAR:
        return 144;
    case SDLK_SCROLLLOCK:
        return 145;
    case SDLK_SEMICOLON:
        return 186;
    case SDLK_EQUALS:
        return 187;
    case SDLK_COMMA:
        return 188;
    case SDLK_MINUS:
        return 189;
    case SDLK_PERIOD:
        return 190;
    case SDLK_SLASH:
        return 191;
    case SDLK_BACKQUOTE:
        return 192;
    case SDLK_LEFTBRACKET:
        return 219;
    case SDLK_BACKSLASH:
        return 220;
    case SDLK_RIGHTBRACKET:
        return 221;
    case SDLK_QUOTE:
        return 222;
    default:
        return 0;
    }
}

// Keys that make characters of other layouts (German ö ä ü ß # <, French é, ...) have keycodes
// the table above does not know. They go by where they sit on the keyboard, with the codes of
// the key in that place on a US keyboard, so that every key still gives key events.
int ByPosition(SDL_Scancode sc) {
    switch (sc) {
    case SDL_SCANCODE_SEMICOLON:
        return 186;
    case SDL_SCANCODE_EQUALS:
        return 187;
    case SDL_SCANCODE_COMMA:
        return 188;
    case SDL_SCANCODE_MINUS:
        return 189;
    case SDL_SCANCODE_PERIOD:
        return 190;
    case SDL_SCANCODE_SLASH:
        return 191;
    case SDL_SCANCODE_GRAVE:
        return 192;
    case SDL_SCANCODE_LEFTBRACKET:
        return 219;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH:
        return 220;
    case SDL_SCANCODE_RIGHTBRACKET:
        return 221;
    case SDL_SCANCODE_APOSTROPHE:
        return 222;
    case SDL_SCANCODE_NONUSBACKSLASH:
        return 226;
    default:
        return 0;
    }
}

// Any other key that types a character.
constexpr int kOtherCharacterKey = 223;

bool TypesCharacter(SDL_Keycode key) {
    return key >= 32 && key != SDLK_DELETE && (key & SDLK_SCANCODE_MASK) == 0;
}

} // namespace

int VirtualKeyFromSdl(int scancode, int keycode) {
    if (int code = ByScancode(SDL_Scancode(scancode))) return code;
    if (int code = ByKeycode(SDL_Keycode(keycode))) return code;
    if (int code = ByPosition(SDL_Scancode(scancode))) return code;
    return TypesCharacter(SDL_Keycode(keycode)) ? kOtherCharacterKey : 0;
}

} // namespace tonvella
