#include "graphics/hit_mask.h"

#include <algorithm>

#include "graphics/images.h"
#include "graphics/tga_file.h"

namespace ib {

namespace {

// Packs one byte plane into `bits` (forward) and `mirrored`, and returns the
// box of its non-zero values.
PlaneBox packPlane(const std::vector<std::uint8_t>& plane, std::size_t width, std::size_t height,
                   std::size_t wordsPerRow, std::vector<std::uint64_t>& bits,
                   std::vector<std::uint64_t>& mirrored)
{
    bits.assign(height * wordsPerRow, 0);
    mirrored.assign(height * wordsPerRow, 0);
    std::size_t top = height, bottom = 0, left = width, right = 0;
    for (std::size_t r = 0; r < height; ++r) {
        const std::size_t start = r * width;
        // Values a short plane does not hold count as 0.
        const std::size_t held = plane.size() > start ? std::min(width, plane.size() - start) : 0;
        const std::uint8_t* values = plane.data() + start;
        std::uint64_t* row = bits.data() + r * wordsPerRow;
        std::uint64_t* back = mirrored.data() + r * wordsPerRow;
        for (std::size_t word = 0; word * 64 < held; ++word) {
            const std::size_t end = std::min(held, word * 64 + 64);
            std::uint64_t w = 0;
            for (std::size_t c = word * 64; c < end; ++c)
                w |= std::uint64_t{values[c] != 0} << (c & 63);
            row[word] = w;
        }
        for (std::size_t c = 0; c < held; ++c) {
            if (values[c] == 0) continue;
            const std::size_t x = width - 1 - c;
            back[x >> 6] |= std::uint64_t{1} << (x & 63);
            top = std::min(top, r);
            bottom = r + 1;
            left = std::min(left, c);
            right = std::max(right, c + 1);
        }
    }
    if (bottom == 0) return PlaneBox{};
    return PlaneBox{static_cast<std::int32_t>(top), static_cast<std::int32_t>(bottom),
                    static_cast<std::int32_t>(left), static_cast<std::int32_t>(right)};
}

}  // namespace

void packHitMask(HitMask& mask)
{
    PackedPlanes p;
    p.width = mask.width;
    p.height = mask.height;
    const std::size_t width = static_cast<std::size_t>(std::max(mask.width, 0));
    const std::size_t height = static_cast<std::size_t>(std::max(mask.height, 0));
    const std::size_t words = (width + 63) / 64 + 1;  // one spare word a row
    p.wordsPerRow = static_cast<std::int32_t>(words);
    p.bodyBox = packPlane(mask.body, width, height, words, p.body, p.bodyMirrored);
    p.strikeBox = packPlane(mask.strike, width, height, words, p.strike, p.strikeMirrored);
    const std::size_t cells = std::min(mask.strike.size(), width * height);
    for (std::size_t i = 0; i < cells; ++i) p.strikeValues.set(mask.strike[i]);
    p.strikeValues.reset(0);
    if (p.strikeValues.none()) {
        // Most poses strike nowhere: keep no empty planes for them.
        p.strike = {};
        p.strikeMirrored = {};
    }
    mask.packed = std::move(p);
}

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
    packHitMask(mask);
    registry.loadedMasks.push_back(std::move(mask));
    return &registry.loadedMasks.back();
}

}  // namespace ib
