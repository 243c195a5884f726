#include "game/KeyboardPlay.h"

#include "game/Board.h"
#include "game/GameState.h"
#include "media/Input.h"

#include <algorithm>

namespace tonvella {

namespace {

int arrow_hits[4] = {}; // left, up, right, down: KEY_LEFT and the three codes after it
int press_hits = 0;
bool menu_hit = false;
bool leads = false;
int place = 0;
int mouse_x = 0, mouse_y = 0; // where the mouse was when the keyboard took the lead

} // namespace

bool ButtonKeyHeld() {
    return IsKeyDown(KEY_SPACE) || IsKeyDown(KEY_RETURN);
}

bool NoteKeys() {
    bool busy = false;
    for (int k = 0; k < 4; ++k)
        if (int hits = KeyHitCount(KEY_LEFT + k)) {
            arrow_hits[k] += hits;
            busy = true;
        }
    if (int hits = KeyHitCount(KEY_SPACE) + KeyHitCount(KEY_RETURN)) {
        press_hits += hits;
        busy = true;
    }
    if (KeyHitCount(KEY_F10)) {
        menu_hit = true;
        busy = true;
    }
    return busy || ButtonKeyHeld();
}

void DropKeys() {
    std::fill(std::begin(arrow_hits), std::end(arrow_hits), 0);
    press_hits = 0;
}

bool MenuKeyPressed() {
    const bool hit = menu_hit;
    menu_hit = false;
    return hit;
}

bool KeyboardLeads() {
    return leads;
}

int KeyboardPlace() {
    return place;
}

void KeyboardStep(bool& button_down, bool mouse_pressed) {
    const int x = MousePosX(), y = MousePosY();
    if (leads && (mouse_pressed || x != mouse_x || y != mouse_y)) leads = false;
    const bool arrows = arrow_hits[0] + arrow_hits[1] + arrow_hits[2] + arrow_hits[3] > 0;
    if (!leads && (arrows || press_hits > 0)) {
        leads = true;
        place = std::max(0, NearestCard());
        mouse_x = x;
        mouse_y = y;
    }
    if (!leads) {
        DropKeys();
        return;
    }
    // The camera only slides along the table's long side, so on the screen of either player
    // right is +x and up is away from the viewer, +z.
    const int column = std::clamp(place % 4 - arrow_hits[0] + arrow_hits[2], 0, 3);
    const int row = std::clamp(place / 4 + arrow_hits[1] - arrow_hits[3], 0, 3);
    std::fill(std::begin(arrow_hits), std::end(arrow_hits), 0);
    place = 4 * row + column;
    CursorX = CardGridX(place);
    CursorZ = CardGridZ(place);
    if (press_hits > 0 && LiftState != kLiftAtRest) {
        // Released and pressed again since the last step: the held card goes down first.
        button_down = false;
        Dirty = 1;
    } else if (press_hits > 0) {
        button_down = true; // a tap counts even when the key is already up again
        press_hits = 0;
    } else {
        button_down = ButtonKeyHeld();
    }
}

} // namespace tonvella
