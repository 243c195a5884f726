#include "media/KeyMap.h"

#include <SDL2/SDL_keyboard.h>
#include <gtest/gtest.h>

using namespace tonvella;

namespace {

struct KeyCase {
    const char* name;
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    int expected;
};

// The keycode column is what a German or Czech layout reports for the same physical key: the
// digit row and function keys must not depend on it.
const KeyCase kCases[] = {
    {"Escape", SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},
    {"digit 1 (Czech layout gives +)", SDL_SCANCODE_1, SDLK_PLUS, 49},
    {"digit 2 (Czech layout gives e-caron)", SDL_SCANCODE_2, 0x11B, 50},
    {"digit 8", SDL_SCANCODE_8, SDLK_8, 56},
    {"digit 9", SDL_SCANCODE_9, SDLK_9, 57},
    {"digit 0", SDL_SCANCODE_0, SDLK_0, 48},
    {"F1", SDL_SCANCODE_F1, SDLK_F1, 112},
    {"F4", SDL_SCANCODE_F4, SDLK_F4, 115},
    {"F7", SDL_SCANCODE_F7, SDLK_F7, 118},
    {"F12", SDL_SCANCODE_F12, SDLK_F12, 123},
    {"letter by keycode (German Z on the Y key)", SDL_SCANCODE_Y, SDLK_z, 'Z'},
    {"letter A", SDL_SCANCODE_A, SDLK_a, 'A'},
    {"space", SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
    {"return", SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
    {"left arrow", SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
    {"down arrow", SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
    {"left shift", SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 160},
    {"right shift", SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, 161},
    {"left control", SDL_SCANCODE_LCTRL, SDLK_LCTRL, 162},
    {"right control", SDL_SCANCODE_RCTRL, SDLK_RCTRL, 163},
    {"left alt", SDL_SCANCODE_LALT, SDLK_LALT, 164},
    {"right alt", SDL_SCANCODE_RALT, SDLK_RALT, 165},
    {"keypad 5", SDL_SCANCODE_KP_5, SDLK_KP_5, 101},
    {"German o-umlaut", SDL_SCANCODE_SEMICOLON, 0xF6, 186},
    {"German a-umlaut", SDL_SCANCODE_APOSTROPHE, 0xE4, 222},
    {"German u-umlaut", SDL_SCANCODE_LEFTBRACKET, 0xFC, 219},
    {"German sharp s", SDL_SCANCODE_MINUS, 0xDF, 189},
    {"German #", SDL_SCANCODE_NONUSHASH, SDLK_HASH, 220},
    {"German < beside the left shift", SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, 226},
    {"a character key in no other place (yen)", SDL_SCANCODE_INTERNATIONAL3, 0xA5, 223},
    {"unmapped key", SDL_SCANCODE_APPLICATION, SDLK_APPLICATION, 0},
};

} // namespace

TEST(KeyMap, SdlKeysBecomeVirtualKeyCodes) {
    for (const KeyCase& c : kCases)
        EXPECT_EQ(VirtualKeyFromSdl(c.scancode, c.keycode), c.expected) << c.name;
}
