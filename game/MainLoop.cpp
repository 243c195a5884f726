#include "MainLoop.h"

#include "GameState.h"
#include "Operations.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/Platform.h"
#include "scene/Scene3D.h"

namespace tonvella {

namespace {

constexpr int kEscape = 27;
TLoopStats stats;

bool Passed(int t) {
    return t < Milliseconds();
}

// The drawer slides out one step per pass; when it is out it jumps back and the menu opens.
void AdvanceDrawer() {
    if (DrawerCount > 33 && DrawerStep == 1.0f) {
        DrawerStep = 0;
        DrawerCount = 0;
        DrawerOpening = 0;
        MoveSettingsDrawer(0.7161f);
        RunMenu();
    } else if (DrawerCount < 1) {
        DrawerStep = 1.0f;
    }
    DrawerCount = int(float(DrawerCount) + DrawerStep);
    MoveSettingsDrawer(DrawerStep * -0.021f);
    Dirty = 1;
}

void DispatchMouse() {
    if (IsMouseDown(1)) {
        if (CursorX > 5 && CursorZ > 10) { // the settings drawer of the cabinet
            SelectedCard = -1;
            DrawerOpening = 1;
        } else if (LiftState == 0) {
            PickCard();
        } else {
            AnimateHeldCard();
        }
        if (SelectedCard > -1) RiseNotes();
    } else {
        ReleaseStep();
    }
}

void LogicStep() {
    NextInputStep = Milliseconds() + 10;
    Dirty = 0;
    LastMouseX = float(MousePosX());
    LastMouseY = float(MousePosY());
    PlacePointer();
    DispatchMouse();
    ++stats.logic_steps;
}

void RenderFrame() {
    NextRender = Milliseconds() + 100;
    RenderWorld();
    DrawHud();
    PresentFrame(0);
    ++stats.frames;
}

} // namespace

const TLoopStats& LoopStats() {
    return stats;
}

bool MainLoopPass() {
    CursorX = float(MousePosX()) / 50.0f - 10.0f;
    CursorZ = -float(MousePosY()) / 35.0f + 18.0f;
    if (float(MousePosX()) != LastMouseX || float(MousePosY()) != LastMouseY || IsMouseDown(1))
        Dirty = 1;
    if (Passed(NextHeartbeat)) {
        NextHeartbeat = Milliseconds() + 100;
        Dirty = 1;
    }
    if (DrawerOpening == 1) AdvanceDrawer();
    if (Dirty == 1) {
        if (Passed(NextInputStep)) LogicStep();
        if (Passed(NextRender)) RenderFrame();
        SleepMs(1);
    } else {
        SleepMs(2);
    }
    return KeyHitCount(kEscape) == 0 && !CloseRequested();
}

void RunMainLoop() {
    while (MainLoopPass()) {}
}

} // namespace tonvella
