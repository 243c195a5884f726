#include "scene/PngLoader.h"

#include "streams/Stream.h"

#include <png.h>

#include <cstdlib>
#include <cstring>
#include <exception>

namespace tonvella {

namespace {

// Everything the libpng callbacks and the decoding function share. The buffers are malloc'ed
// because the decoding function may be left by longjmp, which must not skip C++ destructors.
struct TPngDecode {
    TStream* stream = nullptr;
    std::exception_ptr foreign_error; // raised by the stream, not a stream read error
    char message[160] = "";
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int color_type = -1;
    int bit_depth = 0;
    std::size_t row_bytes = 0;
    unsigned char* pixels = nullptr;
    png_bytep* rows = nullptr;
};

void OnPngError(png_structp png, png_const_charp message) {
    auto* d = static_cast<TPngDecode*>(png_get_error_ptr(png));
    std::snprintf(d->message, sizeof d->message, "%s", message ? message : "libpng error");
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Stream exceptions must not travel through libpng's C frames: they are caught here and turned
// into a libpng error once this frame holds no C++ objects any more.
void ReadFromStream(png_structp png, png_bytep data, png_size_t length) {
    auto* d = static_cast<TPngDecode*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        std::size_t done = 0;
        while (done < length) {
            const int got = d->stream->Read(data + done, int(length - done));
            if (got <= 0) break;
            done += std::size_t(got);
        }
        failed = done < length;
    } catch (const TStreamException&) {
        failed = true;
    } catch (...) {
        d->foreign_error = std::current_exception();
        failed = true;
    }
    if (failed) png_error(png, "truncated PNG data");
}

// The only function with a libpng error jump. It reads the header under the size limits, sets
// the 8-bit transformations and decodes every row into d->pixels.
int DecodePng(png_structp png, png_infop info, TPngDecode* d) {
    if (setjmp(png_jmpbuf(png))) return 0;
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_set_chunk_malloc_max(png, 8 * 1024 * 1024);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    d->width = png_get_image_width(png, info);
    d->height = png_get_image_height(png, info);
    d->color_type = png_get_color_type(png, info);
    d->bit_depth = png_get_bit_depth(png, info);
    d->row_bytes = png_get_rowbytes(png, info);
    d->pixels = static_cast<unsigned char*>(std::malloc(d->row_bytes * d->height));
    d->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * d->height));
    if (!d->pixels || !d->rows) return 0;
    for (png_uint_32 y = 0; y < d->height; ++y)
        d->rows[y] = d->pixels + std::size_t(y) * d->row_bytes;
    png_read_image(png, d->rows);
    return 1;
}

TPixmapHandle PixmapFromRows(const TPngDecode& d) {
    if (d.bit_depth != 8) return nullptr;
    int format = 0;
    switch (d.color_type) {
    case PNG_COLOR_TYPE_GRAY:
        format = PF_I8;
        break;
    case PNG_COLOR_TYPE_RGB:
        format = PF_RGB888;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
    case PNG_COLOR_TYPE_RGB_ALPHA:
        format = PF_RGBA8888;
        break;
    default:
        return nullptr;
    }
    auto pixmap = TPixmap::Create(int(d.width), int(d.height), format);
    for (int y = 0; y < pixmap->height; ++y) {
        const unsigned char* src = d.rows[y];
        std::uint8_t* dst = pixmap->Row(y);
        if (d.color_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
            for (int x = 0; x < pixmap->width; ++x) {
                dst[4 * x] = dst[4 * x + 1] = dst[4 * x + 2] = src[2 * x];
                dst[4 * x + 3] = src[2 * x + 1];
            }
        } else {
            std::memcpy(dst, src, std::size_t(pixmap->width) * BytesPerPixel(format));
        }
    }
    return pixmap;
}

} // namespace

TPixmapHandle LoadPngPixmap(TStream& stream, std::string* reason) {
    unsigned char signature[8];
    int got = 0;
    while (got < 8) {
        const int n = stream.Read(signature + got, 8 - got);
        if (n <= 0) break;
        got += n;
    }
    if (got < 8 || png_sig_cmp(signature, 0, 8) != 0) return nullptr;

    TPngDecode d;
    d.stream = &stream;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &d, OnPngError, OnPngWarning);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    png_set_read_fn(png, &d, ReadFromStream);
    const int ok = DecodePng(png, info, &d);
    png_destroy_read_struct(&png, &info, nullptr);

    TPixmapHandle pixmap = ok ? PixmapFromRows(d) : nullptr;
    std::free(d.rows);
    std::free(d.pixels);
    if (d.foreign_error) std::rethrow_exception(d.foreign_error);
    if (!pixmap && reason) *reason = ok ? "unsupported PNG layout" : d.message;
    return pixmap;
}

} // namespace tonvella
