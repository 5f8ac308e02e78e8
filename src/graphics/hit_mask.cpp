#include "graphics/hit_mask.h"

#include <algorithm>

#include "graphics/images.h"
#include "graphics/tga_file.h"

namespace ib {

const HitMask* loadHitMask(ImageRegistry& registry, const std::string& path)
{
    for (const HitMask& mask : registry.loadedMasks)
        if (mask.name == path) return &mask;

    TgaFile file;
    if (readTgaFile(path, file) != TgaRead::Ok) return nullptr;

    HitMask mask;
    mask.name = path;
    mask.width = file.width;
    mask.height = file.height;
    const std::size_t size = static_cast<std::size_t>(file.width) * file.height;
    // Values a short file does not give stay 0.
    mask.body.assign(size, 0);
    mask.strike.assign(size, 0);
    const std::size_t held = file.pixelCount();
    const std::size_t width = static_cast<std::size_t>(file.width);
    for (int fileRow = 0; fileRow < file.height; ++fileRow) {
        const std::size_t start = static_cast<std::size_t>(fileRow) * width;
        if (start >= held) break;
        const std::size_t inFile = std::min(width, held - start);
        const std::size_t at = static_cast<std::size_t>(file.height - 1 - fileRow) * width;
        for (std::size_t x = 0; x < inFile; ++x) {
            const std::uint16_t p = file.pixel(start + x);
            mask.body[at + x] = static_cast<std::uint8_t>((p >> 10) & 31);
            mask.strike[at + x] = static_cast<std::uint8_t>((p >> 5) & 31);
        }
    }
    registry.loadedMasks.push_back(std::move(mask));
    return &registry.loadedMasks.back();
}

}  // namespace ib
