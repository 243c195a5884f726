/* Writes the contents of a window (or the root window) as an 8-bit RGB PNG.
 * Usage: xshot <window id | root> <out.png> [x y width height]
 * The optional rectangle is in window pixels; without it the whole window is taken. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* Shift that brings the top bit of a channel mask down to bit 7. */
static int MaskShift(unsigned long mask) {
    int top = 31;
    while (top >= 0 && !(mask & (1UL << top)))
        --top;
    return top - 7;
}

static unsigned Channel(unsigned long pixel, unsigned long mask, int shift) {
    unsigned long value = pixel & mask;
    return (unsigned)(shift >= 0 ? value >> shift : value << -shift) & 0xFF;
}

static int WritePng(const char* path, XImage* image) {
    FILE* file = fopen(path, "wb");
    if (!file) {
        perror(path);
        return 1;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, NULL, NULL);
    png_infop info = png ? png_create_info_struct(png) : NULL;
    unsigned char* row = malloc((size_t)image->width * 3);
    if (!png || !info || !row || setjmp(png_jmpbuf(png))) {
        fprintf(stderr, "xshot: cannot write %s\n", path);
        png_destroy_write_struct(&png, &info);
        free(row);
        fclose(file);
        return 1;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, (png_uint_32)image->width, (png_uint_32)image->height, 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    int rs = MaskShift(image->red_mask), gs = MaskShift(image->green_mask),
        bs = MaskShift(image->blue_mask);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            row[x * 3 + 0] = (unsigned char)Channel(pixel, image->red_mask, rs);
            row[x * 3 + 1] = (unsigned char)Channel(pixel, image->green_mask, gs);
            row[x * 3 + 2] = (unsigned char)Channel(pixel, image->blue_mask, bs);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    free(row);
    return fclose(file) == 0 ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc != 3 && argc != 7) {
        fprintf(stderr, "usage: xshot <window id | root> <out.png> [x y width height]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xshot: cannot open the display\n");
        return 1;
    }
    Window window = strcmp(argv[1], "root") == 0 ? DefaultRootWindow(display)
                                                 : (Window)strtoul(argv[1], NULL, 0);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) {
        fprintf(stderr, "xshot: no window %s\n", argv[1]);
        return 1;
    }
    int x = 0, y = 0, width = attributes.width, height = attributes.height;
    if (argc == 7) {
        x = atoi(argv[3]);
        y = atoi(argv[4]);
        width = atoi(argv[5]);
        height = atoi(argv[6]);
    }
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > attributes.width ||
        y + height > attributes.height) {
        fprintf(stderr, "xshot: rectangle %d,%d %dx%d is outside the %dx%d window\n", x, y, width,
                height, attributes.width, attributes.height);
        return 1;
    }
    XImage* image =
        XGetImage(display, window, x, y, (unsigned)width, (unsigned)height, AllPlanes, ZPixmap);
    if (!image) {
        fprintf(stderr, "xshot: cannot read the window contents\n");
        return 1;
    }
    int status = WritePng(argv[2], image);
    XDestroyImage(image);
    XCloseDisplay(display);
    return status;
}
