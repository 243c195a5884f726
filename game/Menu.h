// The settings menu: an open book over the frozen scene, operated with the keyboard.
#pragma once

#include <array>
#include <string>

namespace tonvella {

// Modal: reads keys and draws its pages until it is closed (Escape, or 30 s without a key).
void RunMenu();
// Pages: 0 none, 1 manual, 2 behaviour, 3 restart, 4 opponent, 5 about, 6 card selection.
void DrawMenu(int page);
// The page the last DrawMenu showed, so that what is on the screen can be told without reading
// pixels.
int ShownMenuPage();
bool MenuRunning(); // true from the menu's opening until it has closed
// The two lines under the manual page's heading: that the manual is being opened, or, when it
// could not be copied or opened, that it could not.
std::array<std::u16string, 2> ManualPageText();
// The key code of the first key 1..255 that was hit, once it is released; 0 when none was.
int PollAnyKey();

} // namespace tonvella
