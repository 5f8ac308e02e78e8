// A fighter picture's hit mask: the red channel of "<name>.mask.tga" says
// where the body can be struck, the green channel where the pose strikes.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace ib {

// The rows [top, bottom) and columns [left, right) of a plane that hold
// every non-zero value; all 0 when the plane has none.
struct PlaneBox {
    std::int32_t top = 0, bottom = 0, left = 0, right = 0;
    friend bool operator==(const PlaneBox&, const PlaneBox&) = default;
};

// A mask's planes as one bit a pixel (set where the value is not 0), 64
// pixels a word, for the hit test's word-at-a-time scan. Every row takes
// `wordsPerRow` words, the last of them always 0, so that a 64-pixel window
// starting at any column of a row can be read from two neighbouring words.
// The mirrored planes hold each row backwards: bit x is column width-1-x.
struct PackedPlanes {
    std::int32_t width = -1;  // the mask size they were packed for;
    std::int32_t height = -1; // -1: not packed
    std::int32_t wordsPerRow = 0;
    std::vector<std::uint64_t> body, bodyMirrored;
    std::vector<std::uint64_t> strike, strikeMirrored;  // empty when nothing strikes
    PlaneBox bodyBox, strikeBox;
    std::bitset<256> strikeValues;  // the non-zero strike values present
};

struct HitMask {
    std::string name;  // path of the mask file
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Written whole when the mask is read, never cleared first.
    using Plane = std::vector<std::uint8_t, UnsetAllocator<std::uint8_t>>;
    Plane body;    // width * height, row 0 = top
    Plane strike;  // same layout
    PackedPlanes packed{};             // made by packHitMask

    // Values outside the mask count as 0.
    std::uint8_t bodyAt(int row, int col) const
    {
        return (row >= 0 && col >= 0 && row < height && col < width)
                   ? body[static_cast<size_t>(row) * width + col]
                   : 0;
    }
    std::uint8_t strikeAt(int row, int col) const
    {
        return (row >= 0 && col >= 0 && row < height && col < width)
                   ? strike[static_cast<size_t>(row) * width + col]
                   : 0;
    }
    bool isPacked() const { return packed.width == width && packed.height == height; }
};

// Bit i of x becomes bit 63 - i.
inline std::uint64_t reverseBits(std::uint64_t x)
{
    x = ((x >> 1) & 0x5555555555555555u) | ((x & 0x5555555555555555u) << 1);
    x = ((x >> 2) & 0x3333333333333333u) | ((x & 0x3333333333333333u) << 2);
    x = ((x >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((x & 0x0F0F0F0F0F0F0F0Fu) << 4);
    return __builtin_bswap64(x);
}

// Builds mask.packed from the byte planes (hitMaskFromTga does it for
// every mask it reads). A mask whose planes are shorter than width * height is
// packed as if the missing values were 0.
void packHitMask(HitMask& mask);

struct TgaFile;
// The mask held by a mask file, packed: row 0 is the file's last row; cells
// a short file does not hold neither strike nor can be struck.
HitMask hitMaskFromTga(const TgaFile& file, const std::string& name);

}  // namespace ib
