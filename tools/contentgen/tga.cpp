#include "contentgen/tga.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace contentgen {

void writeTga(const std::string& path, const Raster& picture)
{
    const int w = picture.width(), h = picture.height();
    std::vector<unsigned char> bytes(18 + 2 * static_cast<std::size_t>(w) * h, 0);
    bytes[2] = 2;  // uncompressed true colour
    bytes[12] = static_cast<unsigned char>(w & 0xFF);
    bytes[13] = static_cast<unsigned char>(w >> 8);
    bytes[14] = static_cast<unsigned char>(h & 0xFF);
    bytes[15] = static_cast<unsigned char>(h >> 8);
    bytes[16] = 16;
    std::size_t at = 18;
    for (int fileRow = 0; fileRow < h; ++fileRow) {
        const int y = h - 1 - fileRow;
        for (int x = 0; x < w; ++x) {
            Colour c = picture.at(x, y);
            bytes[at++] = static_cast<unsigned char>(c & 0xFF);
            bytes[at++] = static_cast<unsigned char>(c >> 8);
        }
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace contentgen
