#include "contentgen/png.h"

#include <png.h>

#include <stdexcept>

namespace contentgen {

std::vector<unsigned char> rgbaBytes(const Raster& pic)
{
    std::vector<unsigned char> rgba;
    rgba.reserve(static_cast<std::size_t>(pic.width()) * pic.height() * 4);
    auto widen = [](int v) { return static_cast<unsigned char>((v << 3) | (v >> 2)); };
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x) {
            const Colour c = pic.at(x, y);
            rgba.push_back(widen((c >> 10) & 31));
            rgba.push_back(widen((c >> 5) & 31));
            rgba.push_back(widen(c & 31));
            rgba.push_back(c == kMagenta ? 0 : 255);
        }
    return rgba;
}

void writePng(const std::string& path, const Raster& pic)
{
    const std::vector<unsigned char> rgba = rgbaBytes(pic);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pic.width());
    image.height = static_cast<png_uint_32>(pic.height());
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr))
        throw std::runtime_error("cannot write " + path + ": " + image.message);
}

}  // namespace contentgen
