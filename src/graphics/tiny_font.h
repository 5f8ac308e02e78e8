// A small built-in lettering for the training overlays: capital letters,
// digits, a few signs and four arrows, each 3 x 5 cells drawn as scale x
// scale squares straight into 16-bit pixels.
#pragma once

#include <cstdint>
#include <string_view>

namespace ib {

// Where the letters go: rows of `pitch` pixels, `width` x `height` of them
// drawable.
struct PixelTarget {
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    void put(int x, int y, std::uint16_t colour) const
    {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch) + static_cast<std::size_t>(x)] = colour;
    }
};

// Letters are drawn upper case; '<' '>' '^' and 'v' are arrows; anything
// unknown leaves a gap. Returns the x after the text.
int drawTinyText(const PixelTarget& target, int x, int y, std::string_view text, std::uint16_t colour,
                 int scale);

// Width of one character cell (with its gap) at that scale.
constexpr int tinyAdvance(int scale) { return 4 * scale; }
constexpr int tinyLineHeight(int scale) { return 7 * scale; }

}  // namespace ib
