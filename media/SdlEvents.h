// Internal: turns SDL's event queue into the program's events.
#pragma once

struct SDL_Window;
union SDL_Event;

namespace tonvella {

struct TEvent;

// Installs the poll function that drains SDL's queue for this window (none uninstalls it).
void InstallSdlEventPump(SDL_Window* window);
// The event an SDL event becomes; false when it becomes none. Exposed for tests.
bool TranslateSdlEvent(const SDL_Event& sdl, const void* source, bool key_was_down, TEvent& out);

} // namespace tonvella
