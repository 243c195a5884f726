#include "media/Graphics.h"

#include "media/Input.h"
#include "media/SdlEvents.h"
#include "media/Text.h"

#include <SDL2/SDL.h>
#include <vector>

namespace tonvella {

class TGraphics {
public:
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    int width = 0, height = 0;
    int swap_interval = -2; // not set yet
};

namespace {

int default_flags = 0;
int sequence = 1;
TGraphics* current = nullptr;
std::string last_error;
std::u16string app_title;
bool pointer_hidden = false;
int frames_presented = 0;
int screen_generation = 0;

std::vector<TGraphicsListener>& Listeners() {
    static std::vector<TGraphicsListener> listeners;
    return listeners;
}

void NextSequence() {
    if (++sequence == 0) ++sequence;
}

bool Fail(const std::string& what) {
    last_error = what + " (" + SDL_GetError() + ")";
    return false;
}

bool InitVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    // Without a desktop SDL falls back to drivers that draw nowhere; say so instead.
    if (!SDL_getenv("DISPLAY") && !SDL_getenv("WAYLAND_DISPLAY") &&
        !SDL_getenv("SDL_VIDEODRIVER")) {
        last_error = "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return Fail("no display could be opened");
    return true;
}

void ApplyBufferFlags(int flags) {
    // Fixed-function drawing needs a compatibility context; never ask for a core profile.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, flags & GRAPHICS_BACKBUFFER ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, flags & GRAPHICS_ALPHABUFFER ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, flags & GRAPHICS_DEPTHBUFFER ? 24 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, flags & GRAPHICS_STENCILBUFFER ? 1 : 0);
    int accum = flags & GRAPHICS_ACCUMBUFFER ? 1 : 0;
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accum);
}

bool OpenWindow(TGraphics& g, int width, int height, int depth, int flags) {
    ApplyBufferFlags(flags);
    std::string title = ToUtf8(app_title);
    Uint32 window_flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
    if (depth != 0) {
        window_flags |= SDL_WINDOW_BORDERLESS;
        x = y = 0;
    }
    g.window = SDL_CreateWindow(title.c_str(), x, y, width, height, window_flags);
    if (!g.window) {
        // Some drivers have no depth buffer of 24 bits; take what they have.
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, flags & GRAPHICS_DEPTHBUFFER ? 16 : 0);
        g.window = SDL_CreateWindow(title.c_str(), x, y, width, height, window_flags);
    }
    if (!g.window) return Fail("no window with an OpenGL pixel format could be created");
    g.context = SDL_GL_CreateContext(g.window);
    if (!g.context) return Fail("no OpenGL context could be created");
    SDL_GL_MakeCurrent(g.window, g.context);
    SDL_ShowWindow(g.window);
    g.width = width;
    g.height = height;
    return true;
}

void DestroyGraphics(TGraphics* g) {
    if (!g) return;
    if (g->context) SDL_GL_DeleteContext(g->context);
    if (g->window) SDL_DestroyWindow(g->window);
    delete g;
}

} // namespace

void SetGraphicsDriverGL(int flags) {
    default_flags = flags;
    NextSequence();
}

TGraphics* OpenGraphics(int width, int height, int depth, int rate, int flags) {
    CloseGraphics();
    NextSequence();
    last_error.clear();
    if (!InitVideo()) return nullptr;
    auto* g = new TGraphics;
    if (!OpenWindow(*g, width, height, depth, flags | default_flags)) {
        DestroyGraphics(g);
        return nullptr;
    }
    current = g;
    if (depth != 0) MoveMouse(width / 2, height / 2);
    InstallSdlEventPump(g->window);
    EnablePolledInput();
    SDL_ShowCursor(pointer_hidden ? SDL_DISABLE : SDL_ENABLE);
    for (TGraphicsListener listener : Listeners())
        listener(g);
    return g;
}

void CloseGraphics() {
    if (!current) return;
    InstallSdlEventPump(nullptr);
    DestroyGraphics(current);
    current = nullptr;
    NextSequence();
}

TGraphics* CurrentGraphics() {
    return current;
}

const std::string& GraphicsError() {
    return last_error;
}

int GraphicsSeq() {
    return sequence;
}

void* GlFunction(const char* name) {
    return current ? SDL_GL_GetProcAddress(name) : nullptr;
}

void PresentFrame(int sync) {
    if (!current) return;
    int interval = sync ? 1 : 0;
    if (interval != current->swap_interval) {
        // Virtual displays often refuse a swap interval; that is harmless.
        SDL_GL_SetSwapInterval(interval);
        current->swap_interval = interval;
    }
    SDL_GL_SwapWindow(current->window);
    ++frames_presented;
    ++screen_generation;
}

int ScreenGeneration() {
    return screen_generation;
}

void ScreenDamaged() {
    ++screen_generation;
}

int FramesPresented() {
    return frames_presented;
}

int ScreenWidth() {
    return current ? current->width : 0;
}

int ScreenHeight() {
    return current ? current->height : 0;
}

void HidePointer() {
    pointer_hidden = true;
    if (current) SDL_ShowCursor(SDL_DISABLE);
}

void ShowPointer() {
    pointer_hidden = false;
    if (current) SDL_ShowCursor(SDL_ENABLE);
}

void MoveMouse(int x, int y) {
    if (current) SDL_WarpMouseInWindow(current->window, x, y);
}

void SetAppTitle(const std::u16string& title) {
    app_title = title;
    if (current) SDL_SetWindowTitle(current->window, ToUtf8(title).c_str());
}

const std::u16string& AppTitle() {
    return app_title;
}

void AddGraphicsListener(TGraphicsListener listener) {
    Listeners().push_back(listener);
}

} // namespace tonvella
