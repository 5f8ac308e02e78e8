// The reference hit scan: cell by cell, in the order the rules give.
#include "fight/hit_scan.h"

#include <algorithm>
#include <cstddef>

namespace ib {

Strikes findStrikes(const PoseMask& fighter1, const PoseMask& fighter2, std::int64_t d,
                    std::int64_t dy, std::int32_t lastHit1, std::int32_t lastHit2)
{
    Strikes found;
    // Without a mask nothing strikes and nothing can be struck.
    if (d < 0 || fighter1.mask == nullptr || fighter2.mask == nullptr) return found;
    const HitMask& m1 = *fighter1.mask;
    const HitMask& m2 = *fighter2.mask;

    // Only cells inside both pictures take part, and a value outside a mask
    // is 0, so no hit can land outside both masks either. Fighter 1's rows r
    // and columns c are clipped to where all four of those overlap; fighter
    // 2's cell is (r - dy, d - c).
    const std::int64_t firstRow = std::max<std::int64_t>(dy, 0);
    const std::int64_t endRow = std::min({std::int64_t{fighter1.height}, std::int64_t{m1.height},
                                          dy + fighter2.height, dy + m2.height});
    const std::int64_t firstCol = std::max({std::int64_t{0}, d - fighter2.width + 1,
                                            d - m2.width + 1});
    const std::int64_t endCol = std::min({d + 1, std::int64_t{fighter1.width},
                                          std::int64_t{m1.width}});

    for (std::int64_t r = firstRow; r < endRow; ++r) {
        const auto row1 = static_cast<std::size_t>(r * m1.width);
        const auto row2 = static_cast<std::size_t>((r - dy) * m2.width);
        const std::uint8_t* strike1 = m1.strike.data() + row1;
        const std::uint8_t* body1 = m1.body.data() + row1;
        const std::uint8_t* strike2 = m2.strike.data() + row2;
        const std::uint8_t* body2 = m2.body.data() + row2;
        for (std::int64_t c = firstCol; c < endCol; ++c) {
            const std::int64_t c2 = d - c;
            const std::int32_t s1 = strike1[c];
            const std::int32_t s2 = strike2[c2];
            if ((s1 | s2) == 0) continue;  // nothing strikes on this pixel
            if (found.byFighter1 == 0 && s1 != 0 && s1 != lastHit1 && body2[c2] != 0) {
                found.byFighter1 = s1;
            }
            if (found.byFighter2 == 0 && s2 != 0 && s2 != lastHit2 && body1[c] != 0) {
                found.byFighter2 = s2;
            }
            if (found.byFighter1 != 0 && found.byFighter2 != 0) return found;
        }
    }
    return found;
}

}  // namespace ib
