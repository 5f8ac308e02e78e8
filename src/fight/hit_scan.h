// The pixel hit test between two fighters' pictures.
#pragma once

#include <cstdint>

#include "graphics/hit_mask.h"

namespace ib {

// One fighter's picture as the hit test sees it: the picture's size and
// its hit mask (null: nothing to strike and nothing to be struck).
struct PoseMask {
    std::int32_t width = 0;
    std::int32_t height = 0;
    const HitMask* mask = nullptr;
};

// The strike value each fighter lands in one scan; 0 when it lands none.
struct Strikes {
    std::int32_t byFighter1 = 0;
    std::int32_t byFighter2 = 0;
    friend bool operator==(const Strikes&, const Strikes&) = default;
};

// The reference scan. Fighter 1's picture cell (r, c) lies on the same
// screen pixel as fighter 2's cell (r - dy, d - c). Rows are scanned from
// the top, each from c = 0 to d; a fighter lands at the first cell where
// its strike value is not 0, differs from its `lastHit`, and meets the
// other's body. Cells outside either picture take no part, and mask values
// outside a mask count as 0.
Strikes findStrikes(const PoseMask& fighter1, const PoseMask& fighter2, std::int64_t d,
                    std::int64_t dy, std::int32_t lastHit1, std::int32_t lastHit2);

// The same answer as findStrikes, found 64 cells at a time in the masks'
// packed planes (packHitMask): a strike bit and a body bit that meet make a
// candidate, and only a candidate's strike value is read, to compare it
// with the striker's `lastHit`. A mask that was never packed is scanned
// by findStrikes.
Strikes findStrikesPacked(const PoseMask& fighter1, const PoseMask& fighter2, std::int64_t d,
                          std::int64_t dy, std::int32_t lastHit1, std::int32_t lastHit2);

}  // namespace ib
