#include "scene/Pixmap.h"

#include "media/Text.h"
#include "scene/DebugLog.h"
#include "scene/PixmapPrefetch.h"
#include "scene/PngLoader.h"
#include "streams/Stream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tonvella {

namespace {

using TRgba = std::array<int, 4>;

TRgba ReadRgba(const std::uint8_t* p, int format) {
    switch (format) {
    case PF_I8:
        return {p[0], p[0], p[0], 255};
    case PF_A8:
        return {255, 255, 255, p[0]};
    case PF_BGR888:
        return {p[2], p[1], p[0], 255};
    case PF_RGB888:
        return {p[0], p[1], p[2], 255};
    case PF_BGRA8888:
        return {p[2], p[1], p[0], p[3]};
    default:
        return {p[0], p[1], p[2], p[3]};
    }
}

void WriteRgba(std::uint8_t* p, int format, const TRgba& c) {
    switch (format) {
    case PF_I8:
        p[0] = std::uint8_t((c[0] + c[1] + c[2]) / 3);
        break;
    case PF_A8:
        p[0] = std::uint8_t(c[3]);
        break;
    case PF_BGR888:
        p[0] = c[2], p[1] = c[1], p[2] = c[0];
        break;
    case PF_RGB888:
        p[0] = c[0], p[1] = c[1], p[2] = c[2];
        break;
    case PF_BGRA8888:
        p[0] = c[2], p[1] = c[1], p[2] = c[0], p[3] = c[3];
        break;
    default:
        p[0] = c[0], p[1] = c[1], p[2] = c[2], p[3] = c[3];
        break;
    }
}

// One axis of the bilinear resize: the first source index, the weight of the next one, and
// whether there is a next one.
struct TSample {
    int i;
    double f;
    bool two;
};

TSample MapSample(int dst, int src_size, int dst_size) {
    const double s = (dst + 0.5) * (double(src_size) / dst_size) - 0.5;
    const int i = int(std::floor(s));
    if (i < 0) return {0, 0.0, false};
    if (i >= src_size - 1) return {src_size - 1, 0.0, false};
    return {i, s - i, true};
}

} // namespace

int BytesPerPixel(int format) {
    switch (format) {
    case PF_I8:
    case PF_A8:
        return 1;
    case PF_BGR888:
    case PF_RGB888:
        return 3;
    default:
        return 4;
    }
}

bool FormatHasAlpha(int format) {
    return format == PF_A8 || format == PF_BGRA8888 || format == PF_RGBA8888;
}

int PowerOfTwoAtLeast(int n) {
    int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

std::shared_ptr<TPixmap> TPixmap::Create(int width, int height, int format, int align) {
    // Sizes come from files and from glyph renderers: worked out in 64 bits, so that a wrapped
    // product can never stand for a small buffer that rows are then written past.
    const long long row = (long long)width * BytesPerPixel(format);
    const long long step = std::max(align, 1);
    const long long pitch = (row + step - 1) / step * step;
    if (width < 0 || height < 0 || pitch * height > std::numeric_limits<int>::max())
        throw std::length_error("Pixmap too large");
    auto pixmap = std::make_shared<TPixmap>();
    pixmap->width = width;
    pixmap->height = height;
    pixmap->format = format;
    pixmap->pitch = int(pitch);
    pixmap->capacity = int(pitch * height);
    pixmap->pixels.assign(std::size_t(pixmap->capacity), 0);
    return pixmap;
}

std::shared_ptr<TPixmap> TPixmap::Convert(int to) const {
    auto out = Create(width, height, to);
    const int from_bpp = BytesPerPixel(format);
    const int to_bpp = BytesPerPixel(to);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = Row(y);
        std::uint8_t* dst = out->Row(y);
        for (int x = 0; x < width; ++x)
            WriteRgba(dst + x * to_bpp, to, ReadRgba(src + x * from_bpp, format));
    }
    return out;
}

std::shared_ptr<TPixmap> TPixmap::Resize(int w, int h) const {
    auto rgba = format == PF_RGBA8888 ? nullptr : Convert(PF_RGBA8888);
    const TPixmap& src = rgba ? *rgba : *this;
    auto out = Create(w, h, PF_RGBA8888);
    for (int y = 0; y < h; ++y) {
        const TSample sy = MapSample(y, height, h);
        const std::uint8_t* top_row = src.Row(sy.i);
        const std::uint8_t* bottom_row = src.Row(sy.two ? sy.i + 1 : sy.i);
        std::uint8_t* dst = out->Row(y);
        for (int x = 0; x < w; ++x) {
            const TSample sx = MapSample(x, width, w);
            const int x0 = sx.i * 4;
            const int x1 = (sx.two ? sx.i + 1 : sx.i) * 4;
            for (int c = 0; c < 4; ++c) {
                const double top = top_row[x0 + c] + (top_row[x1 + c] - top_row[x0 + c]) * sx.f;
                const double bottom =
                    bottom_row[x0 + c] + (bottom_row[x1 + c] - bottom_row[x0 + c]) * sx.f;
                dst[x * 4 + c] = std::uint8_t(int(top + (bottom - top) * sy.f));
            }
        }
    }
    return format == PF_RGBA8888 ? out : out->Convert(format);
}

TPixmapHandle AlphaFromBrightness(const TPixmap& source) {
    auto out = source.Convert(PF_RGBA8888);
    for (int y = 0; y < out->height; ++y) {
        std::uint8_t* p = out->Row(y);
        for (int x = 0; x < out->width; ++x, p += 4)
            p[3] = std::uint8_t((p[0] + p[1] + p[2]) / 3);
    }
    return out;
}

TPixmapHandle MaskPixmap(const TPixmap& source) {
    auto src = source.Convert(PF_RGBA8888);
    auto out = TPixmap::Create(src->width, src->height, PF_RGBA8888);
    auto is_black = [&](int x, int y) {
        const std::uint8_t* p = src->Row(y) + x * 4;
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    };
    for (int y = 0; y < src->height; ++y) {
        for (int x = 0; x < src->width; ++x) {
            const std::uint8_t* p = src->Row(y) + x * 4;
            std::uint8_t* q = out->Row(y) + x * 4;
            if (!is_black(x, y)) {
                q[0] = p[0], q[1] = p[1], q[2] = p[2], q[3] = 255;
                continue;
            }
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int ny = std::max(0, y - 1); ny <= std::min(src->height - 1, y + 1); ++ny)
                for (int nx = std::max(0, x - 1); nx <= std::min(src->width - 1, x + 1); ++nx) {
                    if (is_black(nx, ny)) continue;
                    const std::uint8_t* n = src->Row(ny) + nx * 4;
                    sum[0] += n[0], sum[1] += n[1], sum[2] += n[2];
                    ++count;
                }
            for (int c = 0; c < 3; ++c)
                q[c] = std::uint8_t(count ? sum[c] / count : 0);
            q[3] = 0;
        }
    }
    return out;
}

namespace {

// Tries each image loader from the stream's current position. Only PNG is needed by the game's
// assets; further formats would be tried here in turn, each after rewinding to `start`.
TPixmapHandle RunLoaders(TStream& stream, std::string* reason) {
    const int start = stream.Pos();
    if (start < 0) {
        if (reason) *reason = "stream cannot report its position";
        return nullptr;
    }
    try {
        stream.Seek(start);
        return LoadPngPixmap(stream, reason);
    } catch (const TStreamException&) {
        return nullptr; // a loader running out of data did not recognise it
    }
}

} // namespace

TPixmapHandle LoadPixmap(TStream& stream) {
    return RunLoaders(stream, nullptr);
}

TPixmapHandle LoadPixmap(const std::u16string& url) {
    if (TPixmapHandle ahead = TakePrefetchedPixmap(url)) return ahead;
    TStreamHandle stream = OpenFileForReading(url);
    if (!stream) {
        DebugLog(u"ERROR: Cannot open image: " + url);
        return nullptr;
    }
    struct TCloser {
        const TStreamHandle& stream;
        ~TCloser() { CloseFileHandle(stream); }
    } closer{stream};
    std::string reason;
    TPixmapHandle pixmap = RunLoaders(*stream, &reason);
    if (!pixmap) {
        std::u16string line = u"ERROR: Cannot decode image: " + url;
        if (!reason.empty()) line += u" (" + FromLatin1(reason) + u")";
        DebugLog(line);
    }
    return pixmap;
}

} // namespace tonvella
