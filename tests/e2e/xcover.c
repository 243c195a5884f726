/* Lays a white window over a part of the screen for a moment and takes it away again, the way
 * another program's window passing over the game would: the X server then asks the windows
 * below to paint the uncovered area again. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: xcover <x> <y> <width> <height> <milliseconds>\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xcover: cannot open the display\n");
        return 1;
    }
    int screen = DefaultScreen(display);
    XSetWindowAttributes attributes = {0};
    attributes.override_redirect = True; /* placed exactly where asked, window manager or not */
    attributes.background_pixel = WhitePixel(display, screen);
    Window cover = XCreateWindow(display, RootWindow(display, screen), atoi(argv[1]),
                                 atoi(argv[2]), (unsigned)atoi(argv[3]), (unsigned)atoi(argv[4]),
                                 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, cover);
    XSync(display, False);
    long ms = atol(argv[5]);
    struct timespec pause = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&pause, NULL);
    XDestroyWindow(display, cover);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
