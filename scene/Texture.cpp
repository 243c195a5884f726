#include "scene/Texture.h"

#include "scene/DebugLog.h"
#include "scene/GpuBackend.h"
#include "streams/Stream.h"

#include <filesystem>

namespace tonvella {

namespace {

bool CanOpen(const std::u16string& name) {
    TStreamHandle stream = OpenFileForReading(name);
    if (!stream) return false;
    CloseFileHandle(stream);
    return true;
}

std::u16string StripThrough(std::u16string name, char16_t separator) {
    const auto at = name.rfind(separator);
    return at == std::u16string::npos ? name : name.substr(at + 1);
}

// The name as it can be opened, retried without its directory part; false when neither opens.
bool FileFind(std::u16string& name) {
    if (CanOpen(name)) return true;
    const std::u16string stripped = StripThrough(StripThrough(name, u'\\'), u'/');
    if (stripped != name && CanOpen(stripped)) {
        name = stripped;
        return true;
    }
    DebugLog(u"ERROR: Cannot find texture: " + name);
    return false;
}

std::u16string FileAbs(const std::u16string& name) {
    std::u16string abs = name;
    // A name with a protocol or drive (":") or a rooted path is absolute already.
    if (abs.find(u':') == std::u16string::npos && !abs.starts_with(u'/') &&
        !abs.starts_with(u'\\')) {
        std::error_code error;
        abs = std::filesystem::current_path(error).u16string() + u"/" + abs;
    }
    for (char16_t& c : abs)
        if (c == u'\\') c = u'/';
    return abs;
}

bool SameTexture(const TTexture& a, const TTexture& b) {
    return a.file == b.file && a.flags == b.flags && a.blend == b.blend && a.u_scale == b.u_scale &&
           a.v_scale == b.v_scale && a.u_pos == b.u_pos && a.v_pos == b.v_pos && a.angle == b.angle;
}

int LastMipmapLevel(int width, int height) {
    int level = 0;
    while (width > 1 || height > 1) {
        if (width > 1) width /= 2;
        if (height > 1) height /= 2;
        ++level;
    }
    return level;
}

// What a load does to the decoded picture: R, G, B, A, alpha and mask as the flags say, sides
// made powers of two; then each smaller level a bilinear half of the one before, down to 1 x 1.
TTexture::TLevels MakeLevels(TPixmapHandle pixmap, int flags, int last_level) {
    const bool had_alpha = FormatHasAlpha(pixmap->format);
    if (pixmap->format != PF_RGBA8888) pixmap = pixmap->Convert(PF_RGBA8888);
    if ((flags & TEX_ALPHA) && !had_alpha) pixmap = AlphaFromBrightness(*pixmap);
    if (flags & TEX_MASKED) pixmap = MaskPixmap(*pixmap);
    const int w = PowerOfTwoAtLeast(pixmap->width);
    const int h = PowerOfTwoAtLeast(pixmap->height);
    if (w != pixmap->width || h != pixmap->height) pixmap = pixmap->Resize(w, h);

    TTexture::TLevels levels{pixmap, {}};
    int level_w = w, level_h = h;
    for (int level = 1; level <= last_level; ++level) {
        if (level_w > 1) level_w /= 2;
        if (level_h > 1) level_h /= 2;
        const TPixmap& above = levels.smaller.empty() ? *pixmap : *levels.smaller.back();
        levels.smaller.push_back(above.Resize(level_w, level_h));
    }
    return levels;
}

} // namespace

TList<TTextureFilter>& TextureFilterList() {
    static TList<TTextureFilter> filters;
    return filters;
}

TList<TTexture>& TextureList() {
    static TList<TTexture> textures;
    return textures;
}

void TTexture::TextureFilter(const std::u16string& text, int flags) {
    auto filter = std::make_shared<TTextureFilter>();
    filter->text = text;
    filter->flags = flags;
    TextureFilterList().AddLast(filter);
}

std::shared_ptr<TTexture> TTexture::LoadTexture(const std::u16string& url, int flags) {
    auto texture = std::make_shared<TTexture>();
    std::u16string name = url;
    if (!FileFind(name)) return nullptr;
    texture->file = name;
    texture->file_abs = FileAbs(name);
    texture->flags = flags;
    for (const auto& filter : TextureFilterList())
        if (name.find(filter->text) != std::u16string::npos) texture->flags |= filter->flags;

    for (const auto& cached : TextureList())
        if (SameTexture(*cached, *texture)) return cached;

    // A file that opens but does not decode must not stay behind as a texture without pixels.
    TPixmapHandle pixmap = LoadPixmap(name);
    if (!pixmap) return nullptr;
    // Processing the pixels cannot fail (but for memory), so it need not hold up the load.
    texture->width = PowerOfTwoAtLeast(pixmap->width);
    texture->height = PowerOfTwoAtLeast(pixmap->height);
    texture->no_mipmaps =
        (texture->flags & TEX_MIPMAPPED) ? LastMipmapLevel(texture->width, texture->height) : 0;
    texture->levels = std::async(std::launch::async, MakeLevels, std::move(pixmap), texture->flags,
                                 texture->no_mipmaps)
                          .share();
    TextureList().AddLast(texture);
    return texture;
}

void TTexture::ScaleTexture(float u, float v) {
    u_scale = 1.0f / u;
    v_scale = 1.0f / v;
}

void TTexture::RotateTexture(float a) {
    angle = a;
}

void TTexture::PositionTexture(float u, float v) {
    u_pos = u;
    v_pos = v;
}

void TTexture::TextureBlend(int b) {
    blend = b;
}

void TTexture::TextureCoords(int c) {
    coords = c;
}

TPixmapHandle TTexture::Pixmap() const {
    return levels.valid() ? levels.get().base : nullptr;
}

unsigned TTexture::Upload() {
    if (gltex[0] != 0 || !levels.valid()) return gltex[0];
    TGpuBackend& gpu = GpuBackend();
    const unsigned name = gpu.GenTexture();
    if (name == 0) return 0;
    const TLevels& made = levels.get();
    gpu.UploadTextureLevel(name, 0, made.base->width, made.base->height, made.base->pitch / 4,
                           made.base->pixels.data());
    for (std::size_t i = 0; i < made.smaller.size(); ++i) {
        const TPixmap& level = *made.smaller[i];
        gpu.UploadTextureLevel(name, int(i) + 1, level.width, level.height, level.pitch / 4,
                               level.pixels.data());
    }
    gltex[0] = name;
    // The driver has its own copy of every level now, and a texture is uploaded only once.
    levels = {};
    return name;
}

} // namespace tonvella
