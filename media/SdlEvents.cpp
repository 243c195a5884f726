#include "media/SdlEvents.h"

#include "media/Events.h"
#include "media/Graphics.h"
#include "media/Input.h"
#include "media/KeyMap.h"
#include "media/Platform.h"
#include "media/Text.h"

#include <SDL2/SDL.h>

namespace tonvella {

namespace {

SDL_Window* pump_window = nullptr;

int CurrentMods() {
    SDL_Keymod m = SDL_GetModState();
    int mods = 0;
    if (m & KMOD_SHIFT) mods |= MODIFIER_SHIFT;
    if (m & KMOD_CTRL) mods |= MODIFIER_CONTROL;
    if (m & KMOD_ALT) mods |= MODIFIER_ALT;
    if (m & KMOD_GUI) mods |= MODIFIER_SYSTEM;
    return mods;
}

void EmitText(const char* utf8, const void* source) {
    for (char16_t c : FromUtf8(utf8)) {
        TEvent e;
        e.id = EVENT_KEYCHAR;
        e.source = source;
        e.data = c;
        e.mods = CurrentMods();
        EmitEvent(e);
    }
}

// The window's pixels may be gone: uncovered, shown, restored or resized.
bool RepaintNeeded(Uint8 event) {
    switch (event) {
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        return true;
    default:
        return false;
    }
}

void PumpSdlEvents() {
    // Every reader of the input state polls, often several times within a millisecond, and asking
    // the window system costs a round of socket reads each time: it is asked at most once a
    // millisecond. Events already queued (among them those pushed by the program) come at once.
    static Uint64 last_pump = ~Uint64(0);
    const Uint64 now = SDL_GetTicks64();
    if (now != last_pump) {
        SDL_PumpEvents();
        last_pump = now;
    }
    SDL_Event sdl;
    while (SDL_PeepEvents(&sdl, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        if (sdl.type == SDL_TEXTINPUT) {
            EmitText(sdl.text.text, pump_window);
            continue;
        }
        if (sdl.type == SDL_MOUSEBUTTONDOWN)
            SDL_CaptureMouse(SDL_TRUE); // positions follow the pointer beyond the edges
        else if (sdl.type == SDL_MOUSEBUTTONUP)
            SDL_CaptureMouse(SDL_FALSE);
        if (sdl.type == SDL_WINDOWEVENT && RepaintNeeded(sdl.window.event)) ScreenDamaged();
        bool was_down = false;
        if (sdl.type == SDL_KEYDOWN) was_down = sdl.key.repeat != 0;
        TEvent e;
        if (TranslateSdlEvent(sdl, pump_window, was_down, e)) EmitEvent(e);
    }
}

// Blocks in the window system until an event is queued (one the program pushed included) or ms
// have passed; the pump then takes it as usual.
void WaitForSdlEvent(int ms) {
    SDL_WaitEventTimeout(nullptr, ms);
}

} // namespace

bool TranslateSdlEvent(const SDL_Event& sdl, const void* source, bool key_was_down, TEvent& e) {
    e = TEvent{};
    e.source = source;
    switch (sdl.type) {
    case SDL_QUIT:
        e.id = EVENT_APPTERMINATE;
        return true;
    case SDL_WINDOWEVENT:
        switch (sdl.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            e.id = EVENT_APPTERMINATE;
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            e.id = EVENT_APPRESUME;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            e.id = EVENT_APPSUSPEND;
            return true;
        case SDL_WINDOWEVENT_ENTER:
            e.id = EVENT_MOUSEENTER;
            return true;
        case SDL_WINDOWEVENT_LEAVE:
            e.id = EVENT_MOUSELEAVE;
            return true;
        default:
            return false;
        }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        e.data = VirtualKeyFromSdl(sdl.key.keysym.scancode, sdl.key.keysym.sym);
        if (e.data < 1 || e.data > 255) return false;
        e.id = sdl.type == SDL_KEYUP ? EVENT_KEYUP : key_was_down ? EVENT_KEYREPEAT : EVENT_KEYDOWN;
        e.mods = CurrentMods();
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int button = sdl.button.button == SDL_BUTTON_LEFT     ? 1
                     : sdl.button.button == SDL_BUTTON_RIGHT  ? 2
                     : sdl.button.button == SDL_BUTTON_MIDDLE ? 3
                                                              : 0;
        if (!button) return false;
        e.id = sdl.type == SDL_MOUSEBUTTONDOWN ? EVENT_MOUSEDOWN : EVENT_MOUSEUP;
        e.data = button;
        e.x = sdl.button.x;
        e.y = sdl.button.y;
        return true;
    }
    case SDL_MOUSEMOTION:
        e.id = EVENT_MOUSEMOVE;
        e.x = sdl.motion.x;
        e.y = sdl.motion.y;
        return true;
    case SDL_MOUSEWHEEL: {
        e.id = EVENT_MOUSEWHEEL;
        e.data = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        e.x = x;
        e.y = y;
        return true;
    }
    default:
        return false;
    }
}

void InstallSdlEventPump(SDL_Window* window) {
    pump_window = window;
    InstallPollFunction(window ? PumpSdlEvents : nullptr);
    InstallSystemWait(window ? WaitForSdlEvent : nullptr);
#if SDL_VERSION_ATLEAST(2, 0, 22)
    // The wait would queue a marker for poll loops, which this pump never takes out.
    SDL_EventState(SDL_POLLSENTINEL, SDL_IGNORE);
#endif
}

} // namespace tonvella
