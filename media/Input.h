// Polled keyboard and mouse state. Every query first polls the system, so loops that do nothing
// but ask stay current. Keys are KEY_* codes.
#pragma once

#include "media/KeyCodes.h"

namespace tonvella {

enum : int { MOUSE_LEFT = 1, MOUSE_RIGHT = 2, MOUSE_MIDDLE = 3 };

int KeyHitCount(int key); // presses since the last call for this key, then 0
int IsKeyDown(int key);   // 1 while held
int MousePosX();
int MousePosY();
int IsMouseDown(int button);
int MouseHitCount(int button);
// Where the pointer was when the button last went down, so that a click shorter than one poll
// of the game can still be placed.
int MousePressX(int button);
int MousePressY(int button);
int MouseWheelTotal();
int CloseRequested(); // 1 once after a close request, then 0
int NextKeyChar();    // next typed character, 0 when none is waiting

// Connects the polled state to the emit-event hook (once) and clears it. Opening graphics does
// this.
void EnablePolledInput();
// Takes only events whose source is this one (none: any source).
void AcceptEventSource(const void* source);
void ClearKeys();
void ClearMouse();

// The function that drains the system's pending events into EmitEvent. The window layer installs
// it; tests install their own scripted one. Re-entrant polls return at once.
using TPollFunc = void (*)();
void InstallPollFunction(TPollFunc poll);
void PollSystem();
// Every event taken so far; a loop notes the count when it has looked at the input.
unsigned InputEventCount();
// Waits until an event beyond the first `seen` is taken or ms milliseconds have passed (through
// the platform layer's WaitForInput, so that a simulated clock sees simulated input). An event
// taken after the loop looked and before the wait began ends it at once.
void AwaitInput(int ms, unsigned seen);

} // namespace tonvella
