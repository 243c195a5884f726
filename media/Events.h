// Events and the hook chains that carry them to their listeners.
#pragma once

namespace tonvella {

enum TEventId : int {
    EVENT_APPSUSPEND = 0x101,
    EVENT_APPRESUME = 0x102,
    EVENT_APPTERMINATE = 0x103,
    EVENT_KEYDOWN = 0x201,
    EVENT_KEYUP = 0x202,
    EVENT_KEYCHAR = 0x203,
    EVENT_KEYREPEAT = 0x204,
    EVENT_MOUSEDOWN = 0x401,
    EVENT_MOUSEUP = 0x402,
    EVENT_MOUSEMOVE = 0x403,
    EVENT_MOUSEWHEEL = 0x404,
    EVENT_MOUSEENTER = 0x405,
    EVENT_MOUSELEAVE = 0x406,
};

// Modifier bits of TEvent::mods.
enum : int { MODIFIER_SHIFT = 1, MODIFIER_CONTROL = 2, MODIFIER_ALT = 4, MODIFIER_SYSTEM = 8 };

struct TEvent {
    int id = 0;
    const void* source = nullptr; // the window that produced it, or none
    int data = 0;                 // key code, character, button or wheel steps
    int mods = 0;
    int x = 0, y = 0; // pointer position in client pixels
};

// Registered name of an event id ("KeyDown"), empty for unknown ids.
const char* EventName(int id);

// Hooks: per hook id a chain ordered by descending priority; each function's result is the data
// passed to the next one.
using THookFunc = void* (*)(int id, void* data, void* context);
constexpr int EMIT_EVENT_HOOK = 1;
void AddHook(int id, THookFunc func, void* context, int priority);
void RemoveHook(int id, THookFunc func, void* context);
void* RunHooks(int id, void* data);

// Runs the emit-event hook with the event.
void EmitEvent(const TEvent& event);
// The same for an event without source or modifiers: scripted input of tests and benchmarks.
void EmitEvent(int id, int data = 0, int x = 0, int y = 0);

} // namespace tonvella
