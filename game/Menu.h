// The settings menu: an open book over the frozen scene, operated with the keyboard.
#pragma once

#include <array>
#include <string>
#include <vector>

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
// The lines of the card page under its heading: the sets of the page shown (greyed when they
// cannot be played), "->" at the set in play, the F6 line when there are more than eight sets,
// and why the set just chosen could not be played. Read by the page's drawing, and by tests.
enum class TCardLineKind { kPlain, kGreyed, kNotice };
struct TCardPageLine {
    std::u16string text;
    float x, y;
    TCardLineKind kind;
};
std::vector<TCardPageLine> CardPageLines();
// The key code of the first key 1..255 that was hit, once it is released; 0 when none was.
int PollAnyKey();

} // namespace tonvella
