#include "sim/screenshot.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace ib::sim {

bool writePng(const Surface& surface, const std::string& path)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        std::fprintf(stderr, "inkblot-sim: cannot write screenshot %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const int w = surface.width(), h = surface.height();
    std::vector<png_byte> row(static_cast<size_t>(w) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fprintf(stderr, "inkblot-sim: cannot write screenshot %s\n", path.c_str());
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint16_t p = surface.pixel(x, y);
            unsigned r = (p >> 11) & 31, g = (p >> 5) & 63, b = p & 31;
            row[3 * x] = static_cast<png_byte>((r << 3) | (r >> 2));
            row[3 * x + 1] = static_cast<png_byte>((g << 2) | (g >> 4));
            row[3 * x + 2] = static_cast<png_byte>((b << 3) | (b >> 2));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace ib::sim
