// The edges of a hit mask's areas, found once per mask, so that an overlay
// can outline where a pose can be struck and where it strikes.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/hit_mask.h"

namespace ib {

struct MaskCell {
    std::int32_t row = 0;
    std::int32_t col = 0;
};

struct MaskOutline {
    std::vector<MaskCell> body;    // body cells beside a cell that is not body
    std::vector<MaskCell> strike;  // the same for the strike plane
};

MaskOutline outlineMask(const HitMask& mask);

}  // namespace ib
