#include "tests/media_draw/FrameGrab.h"

#include "media/Graphics.h"

#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tonvella {

std::ostream& operator<<(std::ostream& out, const TRgb& c) {
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

TRgb ReadPixel(int x, int y) {
    unsigned char p[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, ScreenHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

std::vector<std::uint8_t> ReadFrame(int width, int height) {
    std::vector<std::uint8_t> bottom_up(std::size_t(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottom_up.data());
    std::vector<std::uint8_t> rows(bottom_up.size());
    const std::size_t stride = std::size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        std::copy_n(bottom_up.data() + std::size_t(height - 1 - y) * stride, stride,
                    rows.data() + std::size_t(y) * stride);
    return rows;
}

bool WritePng(const std::string& path, int width, int height, int channels,
              const std::vector<std::uint8_t>& rows) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
        png_write_row(png, rows.data() + std::size_t(y) * width * channels);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return true;
}

void SaveScreenshot(const std::string& name, int width, int height) {
    WritePng("/tmp/" + name + ".png", width, height, 3, ReadFrame(width, height));
}

int ColourDistance(const TRgb& a, const TRgb& b) {
    return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

} // namespace tonvella
