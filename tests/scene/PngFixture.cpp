#include "tests/scene/PngFixture.h"

#include <png.h>

#include <fstream>
#include <random>
#include <stdexcept>

namespace tonvella {

namespace {

void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

} // namespace

std::vector<std::uint8_t> EncodePngRaw(int width, int height, int color_type, int bit_depth,
                                       const std::vector<std::uint8_t>& rows,
                                       const std::vector<std::uint8_t>& palette,
                                       const std::vector<std::uint8_t>& palette_alpha,
                                       bool interlaced) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode the test image");
    }
    png_set_write_fn(png, &out, Append, NoFlush);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), bit_depth, color_type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> colours;
    for (std::size_t i = 0; i + 2 < palette.size(); i += 3)
        colours.push_back({palette[i], palette[i + 1], palette[i + 2]});
    if (!colours.empty()) png_set_PLTE(png, info, colours.data(), int(colours.size()));
    if (!palette_alpha.empty())
        png_set_tRNS(png, info, palette_alpha.data(), int(palette_alpha.size()), nullptr);
    png_write_info(png, info);
    const std::size_t row_bytes = rows.size() / std::size_t(height);
    std::vector<png_bytep> pointers;
    for (int y = 0; y < height; ++y)
        pointers.push_back(const_cast<png_bytep>(rows.data() + std::size_t(y) * row_bytes));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels) {
    static const int types[] = {0, PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA,
                                PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA};
    return EncodePngRaw(width, height, types[channels], 8, pixels);
}

TTempDir::TTempDir() {
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           ("scene-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path);
}

TTempDir::~TTempDir() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
}

std::u16string TTempDir::Write(const std::string& name,
                               const std::vector<std::uint8_t>& bytes) const {
    const auto file = path / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file.u16string();
}

} // namespace tonvella
