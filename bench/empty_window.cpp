// The floor for start-up and idle figures: an SDL2 window with an OpenGL context of the game's
// kind (1024 x 768, double-buffered, 24-bit depth) that draws one shaded triangle and then
// waits for events, drawing again only when the window was uncovered. Nothing of the game is
// in it, so what the game takes beyond it is the game's own.
#include <SDL2/SDL.h>
#include <SDL2/SDL_opengl.h>

namespace {

void Draw(SDL_Window* window) {
    glClearColor(0.1f, 0.1f, 0.15f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Colours blend across the triangle, so its picture has far more than 100 colours.
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0, 0);
    glVertex2f(-0.8f, -0.8f);
    glColor3f(0, 1, 0);
    glVertex2f(0.8f, -0.8f);
    glColor3f(0, 0, 1);
    glVertex2f(0, 0.8f);
    glEnd();
    SDL_GL_SwapWindow(window);
}

} // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        SDL_Log("empty_window: %s", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_Window* window = SDL_CreateWindow("empty window", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 1024, 768, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        SDL_Log("empty_window: %s", SDL_GetError());
        return 1;
    }
    Draw(window);
    SDL_Event e;
    while (SDL_WaitEvent(&e)) {
        if (e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE)) break;
        if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_EXPOSED) Draw(window);
    }
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
