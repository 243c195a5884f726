// The key codes that KeyHitCount and IsKeyDown take: Windows virtual-key codes, the numbers the
// game was written against, whatever the platform's own keyboard codes are.
#pragma once

namespace tonvella {

enum : int {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_RETURN = 13,
    KEY_PAUSE = 19,
    KEY_CAPSLOCK = 20,
    KEY_ESCAPE = 27,
    KEY_SPACE = 32,
    KEY_PAGEUP = 33,
    KEY_PAGEDOWN = 34,
    KEY_END = 35,
    KEY_HOME = 36,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_PRINTSCREEN = 44,
    KEY_INSERT = 45,
    KEY_DELETE = 46,
    KEY_0 = 48, // the digits of the main keyboard follow in order up to KEY_9
    KEY_1 = 49,
    KEY_8 = 56,
    KEY_9 = 57,
    KEY_A = 65, // the letters follow in order up to KEY_Z
    KEY_Z = 90,
    KEY_LSYS = 91,
    KEY_RSYS = 92,
    KEY_NUM0 = 96, // the digits of the keypad follow in order up to KEY_NUM9
    KEY_NUM1 = 97,
    KEY_NUM8 = 104,
    KEY_NUM9 = 105,
    KEY_NUMMULTIPLY = 106,
    KEY_NUMADD = 107,
    KEY_NUMSUBTRACT = 109,
    KEY_NUMDECIMAL = 110,
    KEY_NUMDIVIDE = 111,
    KEY_F1 = 112, // the function keys follow in order up to KEY_F12
    KEY_F2 = 113,
    KEY_F3 = 114,
    KEY_F4 = 115,
    KEY_F5 = 116,
    KEY_F6 = 117,
    KEY_F7 = 118,
    KEY_F8 = 119,
    KEY_F10 = 121,
    KEY_F12 = 123,
    KEY_NUMLOCK = 144,
    KEY_SCROLLLOCK = 145,
    KEY_LSHIFT = 160,
    KEY_RSHIFT = 161,
    KEY_LCONTROL = 162,
    KEY_RCONTROL = 163,
    KEY_LALT = 164,
    KEY_RALT = 165,
    // The keys that make punctuation on a US keyboard, named by that character.
    KEY_SEMICOLON = 186,
    KEY_EQUALS = 187,
    KEY_COMMA = 188,
    KEY_MINUS = 189,
    KEY_PERIOD = 190,
    KEY_SLASH = 191,
    KEY_TILDE = 192,
    KEY_OPENBRACKET = 219,
    KEY_BACKSLASH = 220,
    KEY_CLOSEBRACKET = 221,
    KEY_QUOTES = 222,
    KEY_OTHERCHAR = 223,      // any other key that types a character
    KEY_EXTRABACKSLASH = 226, // the key between left Shift and Z on European keyboards
};

} // namespace tonvella
