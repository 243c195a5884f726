#include "media/KeyMap.h"

#include "media/KeyCodes.h"

#include <SDL2/SDL_keyboard.h>

namespace tonvella {

namespace {

int ByScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return KEY_1 + (sc - SDL_SCANCODE_1);
    if (sc == SDL_SCANCODE_0) return KEY_0;
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return KEY_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9)
        return KEY_NUM1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_KP_0:
        return KEY_NUM0;
    case SDL_SCANCODE_KP_MULTIPLY:
        return KEY_NUMMULTIPLY;
    case SDL_SCANCODE_KP_PLUS:
        return KEY_NUMADD;
    case SDL_SCANCODE_KP_MINUS:
        return KEY_NUMSUBTRACT;
    case SDL_SCANCODE_KP_PERIOD:
        return KEY_NUMDECIMAL;
    case SDL_SCANCODE_KP_DIVIDE:
        return KEY_NUMDIVIDE;
    case SDL_SCANCODE_KP_ENTER:
        return KEY_RETURN;
    case SDL_SCANCODE_LSHIFT:
        return KEY_LSHIFT;
    case SDL_SCANCODE_RSHIFT:
        return KEY_RSHIFT;
    case SDL_SCANCODE_LCTRL:
        return KEY_LCONTROL;
    case SDL_SCANCODE_RCTRL:
        return KEY_RCONTROL;
    case SDL_SCANCODE_LALT:
        return KEY_LALT;
    case SDL_SCANCODE_RALT:
        return KEY_RALT;
    case SDL_SCANCODE_LGUI:
        return KEY_LSYS;
    case SDL_SCANCODE_RGUI:
        return KEY_RSYS;
    default:
        return 0;
    }
}

int ByKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return KEY_A + (key - SDLK_a);
    switch (key) {
    case SDLK_BACKSPACE:
        return KEY_BACKSPACE;
    case SDLK_TAB:
        return KEY_TAB;
    case SDLK_RETURN:
        return KEY_RETURN;
    case SDLK_PAUSE:
        return KEY_PAUSE;
    case SDLK_CAPSLOCK:
        return KEY_CAPSLOCK;
    case SDLK_ESCAPE:
        return KEY_ESCAPE;
    case SDLK_SPACE:
        return KEY_SPACE;
    case SDLK_PAGEUP:
        return KEY_PAGEUP;
    case SDLK_PAGEDOWN:
        return KEY_PAGEDOWN;
    case SDLK_END:
        return KEY_END;
    case SDLK_HOME:
        return KEY_HOME;
    case SDLK_LEFT:
        return KEY_LEFT;
    case SDLK_UP:
        return KEY_UP;
    case SDLK_RIGHT:
        return KEY_RIGHT;
    case SDLK_DOWN:
        return KEY_DOWN;
    case SDLK_PRINTSCREEN:
        return KEY_PRINTSCREEN;
    case SDLK_INSERT:
        return KEY_INSERT;
    case SDLK_DELETE:
        return KEY_DELETE;
    case SDLK_NUMLOCKCLEAR:
        return KEY_NUMLOCK;
    case SDLK_SCROLLLOCK:
        return KEY_SCROLLLOCK;
    case SDLK_SEMICOLON:
        return KEY_SEMICOLON;
    case SDLK_EQUALS:
        return KEY_EQUALS;
    case SDLK_COMMA:
        return KEY_COMMA;
    case SDLK_MINUS:
        return KEY_MINUS;
    case SDLK_PERIOD:
        return KEY_PERIOD;
    case SDLK_SLASH:
        return KEY_SLASH;
    case SDLK_BACKQUOTE:
        return KEY_TILDE;
    case SDLK_LEFTBRACKET:
        return KEY_OPENBRACKET;
    case SDLK_BACKSLASH:
        return KEY_BACKSLASH;
    case SDLK_RIGHTBRACKET:
        return KEY_CLOSEBRACKET;
    case SDLK_QUOTE:
        return KEY_QUOTES;
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
        return KEY_SEMICOLON;
    case SDL_SCANCODE_EQUALS:
        return KEY_EQUALS;
    case SDL_SCANCODE_COMMA:
        return KEY_COMMA;
    case SDL_SCANCODE_MINUS:
        return KEY_MINUS;
    case SDL_SCANCODE_PERIOD:
        return KEY_PERIOD;
    case SDL_SCANCODE_SLASH:
        return KEY_SLASH;
    case SDL_SCANCODE_GRAVE:
        return KEY_TILDE;
    case SDL_SCANCODE_LEFTBRACKET:
        return KEY_OPENBRACKET;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH:
        return KEY_BACKSLASH;
    case SDL_SCANCODE_RIGHTBRACKET:
        return KEY_CLOSEBRACKET;
    case SDL_SCANCODE_APOSTROPHE:
        return KEY_QUOTES;
    case SDL_SCANCODE_NONUSBACKSLASH:
        return KEY_EXTRABACKSLASH;
    default:
        return 0;
    }
}

bool TypesCharacter(SDL_Keycode key) {
    return key >= SDLK_SPACE && key != SDLK_DELETE && (key & SDLK_SCANCODE_MASK) == 0;
}

} // namespace

int VirtualKeyFromSdl(int scancode, int keycode) {
    if (int code = ByScancode(SDL_Scancode(scancode))) return code;
    if (int code = ByKeycode(SDL_Keycode(keycode))) return code;
    if (int code = ByPosition(SDL_Scancode(scancode))) return code;
    return TypesCharacter(SDL_Keycode(keycode)) ? KEY_OTHERCHAR : 0;
}

} // namespace tonvella
