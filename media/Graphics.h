// The window with its OpenGL context: opening, presenting, size, pointer and title.
#pragma once

#include <string>

namespace tonvella {

// Buffer flags for OpenGraphics.
enum : int {
    GRAPHICS_BACKBUFFER = 2,
    GRAPHICS_ALPHABUFFER = 4,
    GRAPHICS_DEPTHBUFFER = 8,
    GRAPHICS_STENCILBUFFER = 16,
    GRAPHICS_ACCUMBUFFER = 32,
};

class TGraphics; // the open window and its context

// Selects the OpenGL driver with default flags ORed into every OpenGraphics.
void SetGraphicsDriverGL(int default_flags);
// Opens the window (depth 0) or a full-screen window; closes earlier graphics first.
// None when no display, window or context could be had: GraphicsError says why.
TGraphics* OpenGraphics(int width, int height, int depth, int rate, int flags);
void CloseGraphics();
TGraphics* CurrentGraphics();
const std::string& GraphicsError();
// Never 0; changes whenever a driver is selected or graphics open or close, so that objects
// holding GL resources know when to rebuild them.
int GraphicsSeq();
// The address of an OpenGL function of the open window's context; null without one.
void* GlFunction(const char* name);

// Shows the back buffer, waiting for the retrace or not.
enum : int { PRESENT_NOSYNC = 0, PRESENT_VSYNC = 1 };
void PresentFrame(int sync);
int FramesPresented();
// Changes with every present and whenever the window system may have lost the window's pixels
// (uncovered, restored, shown again): while it stays the same, the window shows the last frame.
int ScreenGeneration();
// The event pump's report that the window must be painted again.
void ScreenDamaged();
int ScreenWidth();
int ScreenHeight();

void HidePointer();
void ShowPointer();
void MoveMouse(int x, int y);

// The caption of windows opened from now on.
void SetAppTitle(const std::u16string& title);
const std::u16string& AppTitle();

// Called with every newly opened graphics (the 2D layer sets up its state here).
using TGraphicsListener = void (*)(TGraphics*);
void AddGraphicsListener(TGraphicsListener listener);

} // namespace tonvella
