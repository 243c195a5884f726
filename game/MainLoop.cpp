#include "game/MainLoop.h"

#include "game/GameState.h"
#include "game/KeyboardPlay.h"
#include "game/Operations.h"
#include "game/Opponent.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "scene/Scene3D.h"
#include "scene/SceneSignature.h"

namespace tonvella {

namespace {

TLoopStats stats;

// The drawer slides out one step per pass; when it is out it jumps back and the menu opens.
void AdvanceDrawer() {
    if (DrawerCount > 33 && DrawerStep == 1.0f) {
        DrawerStep = 0;
        DrawerCount = 0;
        DrawerOpening = 0;
        ReturnSettingsDrawer();
        RunMenu();
        // Clicks made while the menu was open were not meant for the cards.
        MouseHitCount(MOUSE_LEFT);
        PressPending = 0;
    } else if (DrawerCount < 1) {
        DrawerStep = 1.0f;
    }
    DrawerCount = int(float(DrawerCount) + DrawerStep);
    MoveSettingsDrawer(DrawerStep * -0.021f);
    Dirty = 1;
}

void OpenDrawer() {
    // A card dragged along would otherwise stay up in the air, tilted, until it is picked again,
    // and then lift along its tilt.
    if (SelectedCard > -1) PutDownCard();
    SelectedCard = -1;
    DrawerOpening = 1;
}

void DispatchMouse(bool button_down) {
    if (button_down) {
        if (InDrawerRegion(CursorX, CursorZ)) { // the settings drawer of the cabinet
            OpenDrawer();
        } else if (LiftState == kLiftAtRest) {
            PickCard();
        } else {
            AnimateHeldCard();
        }
        if (SelectedCard > -1) RiseNotes();
    } else {
        ReleaseStep();
    }
}

// The mouse moved since the last logic step, its button is down or a press waits for a step.
bool MouseWantsStep() {
    return float(MousePosX()) != LastMouseX || float(MousePosY()) != LastMouseY ||
           IsMouseDown(MOUSE_LEFT) || PressPending;
}

void PlaceCursorAt(int x, int y) {
    CursorX = TableX(x);
    CursorZ = TableZ(y);
}

// The mouse and the keys of the people at the table.
bool PeopleInput() {
    bool button_down = IsMouseDown(MOUSE_LEFT) != 0;
    // Reading the button takes the events that came since the pass looked at the pointer, a
    // move to a card and the press on it among them: the press acts where the mouse went.
    PlaceCursorAt(MousePosX(), MousePosY());
    const bool mouse_pressed = button_down || PressPending;
    if (PressPending && LiftState != kLiftAtRest) {
        // The button went up and down again since the last step: put the held card down first,
        // the new press follows in the next step.
        button_down = false;
        Dirty = 1;
    } else if (PressPending) {
        // A short click is held for one step where it went down, even if it is already over.
        if (!button_down) PlaceCursorAt(PressX, PressY);
        button_down = true;
        PressPending = 0;
    }
    const bool mouse_down = button_down;
    KeyboardStep(button_down, mouse_pressed);
    KeyButtonHeld = button_down && !mouse_down ? 1 : 0;
    if (MenuKeyPressed() && DrawerOpening == 0) {
        OpenDrawer();
        button_down = false;
    }
    return button_down;
}

// During the computer's turn the people's presses and keys are dropped, but for the drawer.
bool ComputerInput(bool held) {
    const bool press = PressPending || IsMouseDown(MOUSE_LEFT);
    const int x = PressPending ? PressX : MousePosX(), y = PressPending ? PressY : MousePosY();
    PressPending = 0;
    DropKeys();
    KeyButtonHeld = held ? 1 : 0;
    if ((press && InDrawerRegion(TableX(x), TableZ(y))) ||
        (MenuKeyPressed() && DrawerOpening == 0)) {
        OpenDrawer();
        return false;
    }
    Dirty = 1; // its pointer moves as a person's would, at the full step rate
    return held;
}

void LogicStep() {
    NextInputStep = Milliseconds() + 10;
    Dirty = 0;
    LastMouseX = float(MousePosX());
    LastMouseY = float(MousePosY());
    bool held = false;
    const bool button_down = ComputerStep(held) ? ComputerInput(held) : PeopleInput();
    PlacePointer();
    DispatchMouse(button_down);
    ++stats.logic_steps;
}

// Every press counts, including one that goes down and up between two logic steps.
void NotePresses() {
    if (NoteKeys()) Dirty = 1;
    if (MouseHitCount(MOUSE_LEFT) == 0) return;
    PressPending = 1;
    PressX = MousePressX(MOUSE_LEFT);
    PressY = MousePressY(MOUSE_LEFT);
}

// What the window shows: the signatures of the last frame drawn and the screen it went to.
struct TShownFrame {
    bool valid = false;
    std::uint64_t scene = 0, hud = 0;
    int graphics = 0, screen = 0;
};
TShownFrame shown;

// A frame due while nothing changed would repeat the picture on screen. With a software
// renderer such a frame costs a large share of the processor, ten times a second, so it is
// left out; the window keeps the last one until the scene, the strip or the screen changes.
bool PictureOnScreen(std::uint64_t scene, std::uint64_t hud) {
    return shown.valid && shown.scene == scene && shown.hud == hud &&
           shown.graphics == GraphicsSeq() && shown.screen == ScreenGeneration();
}

void RenderFrame() {
    NextRender = Milliseconds() + 100;
    ++stats.frames;
    const std::uint64_t scene = SceneSignature(), hud = HudSignature();
    if (PictureOnScreen(scene, hud)) return;
    RenderWorld();
    DrawHud();
    PresentFrame(PRESENT_NOSYNC);
    ++stats.frames_drawn;
    shown = {true, scene, hud, GraphicsSeq(), ScreenGeneration()};
}

} // namespace

const TLoopStats& LoopStats() {
    return stats;
}

bool MainLoopPass() {
    PlaceCursorAt(MousePosX(), MousePosY());
    NotePresses();
    const unsigned seen = InputEventCount();
    if (MouseWantsStep()) Dirty = 1;
    if (Passed(NextHeartbeat)) {
        NextHeartbeat = Milliseconds() + 100;
        Dirty = 1;
    }
    if (DrawerOpening == 1) AdvanceDrawer();
    if (Dirty == 1) {
        if (Passed(NextInputStep)) LogicStep();
        if (Passed(NextRender)) RenderFrame();
    }
    // What the next pass would find without new input. When nothing changes, nothing is due
    // before the heartbeat: the loop waits for it, and a press, a key or a moved mouse ends the
    // wait at once. Waking every millisecond or two to look would cost an idle game hundreds of
    // wake-ups a second, and a look right after the heartbeat's step another ten.
    const bool busy = Dirty == 1 || DrawerOpening == 1 || MouseWantsStep() || ButtonKeyHeld() ||
                      Passed(NextHeartbeat);
    if (busy)
        SleepMs(1);
    else
        AwaitInput(NextHeartbeat + 1 - Milliseconds(), seen);
    return EndRequested == 0 && KeyHitCount(KEY_ESCAPE) == 0 && !CloseRequested();
}

void RunMainLoop() {
    while (MainLoopPass()) {}
}

} // namespace tonvella
