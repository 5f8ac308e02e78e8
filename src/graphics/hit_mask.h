// A fighter picture's hit mask: the red channel of "<name>.mask.tga" says
// where the body can be struck, the green channel where the pose strikes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ib {

struct HitMask {
    std::string name;  // path of the mask file
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> body;    // width * height, row 0 = top
    std::vector<std::uint8_t> strike;  // same layout

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
};

}  // namespace ib
