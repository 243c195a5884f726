// Play without a mouse: the arrow keys move the 3D pointer from place to place over the 4 x 4
// grid, Space or Return held is the left button held, F10 opens the menu as the drawer does.
#pragma once

namespace tonvella {

// Takes the hits of the keys of keyboard play since the last pass; true when a logic step should
// follow soon (one of them went down, or Space or Return is held).
bool NoteKeys();
// Space or Return is held: the button is down for the keyboard, so steps go on.
bool ButtonKeyHeld();
// The keys' part of a logic step for the people. Once an arrow, Space or Return is used the
// keyboard leads, starting at the card nearest the pointer: CursorX and CursorZ are set over its
// place and `button_down` follows Space and Return (a tap is held for one step). A mouse that
// moves or presses (`mouse_pressed`) leads again.
void KeyboardStep(bool& button_down, bool mouse_pressed);
// F10 was pressed since the last call.
bool MenuKeyPressed();
// Forgets the keys noted, for a time when they are not for the people (the computer's turn).
void DropKeys();
bool KeyboardLeads();
int KeyboardPlace(); // the place 0..15 the keyboard's pointer is over

} // namespace tonvella
