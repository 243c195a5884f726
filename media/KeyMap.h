// Translation of SDL keys to Windows virtual-key codes.
#pragma once

namespace tonvella {

// The virtual-key code of an SDL key (SDL_Scancode and SDL_Keycode values), 0 when it has none.
// The digit row, the keypad and F1..F12 go by scancode, so keyboard layouts do not move them.
int VirtualKeyFromSdl(int scancode, int keycode);

} // namespace tonvella
