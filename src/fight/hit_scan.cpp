// The reference hit scan: cell by cell, in the order the rules give.
#include "fight/hit_scan.h"

#include <algorithm>

namespace ib {

namespace {

std::int32_t strikeValue(const PoseMask& p, std::int64_t row, std::int64_t col)
{
    return p.mask ? p.mask->strikeAt(static_cast<int>(row), static_cast<int>(col)) : 0;
}

std::int32_t bodyValue(const PoseMask& p, std::int64_t row, std::int64_t col)
{
    return p.mask ? p.mask->bodyAt(static_cast<int>(row), static_cast<int>(col)) : 0;
}

}  // namespace

Strikes findStrikes(const PoseMask& fighter1, const PoseMask& fighter2, std::int64_t d,
                    std::int64_t dy, std::int32_t lastHit1, std::int32_t lastHit2)
{
    Strikes found;
    if (d < 0) return found;

    // The band of fighter 1's rows that fighter 2's picture covers.
    const std::int64_t firstRow = std::max<std::int64_t>(dy, 0);
    const std::int64_t endRow = std::min<std::int64_t>(fighter1.height, dy + fighter2.height);
    // Columns inside both pictures: c < width 1 and d - c < width 2.
    const std::int64_t firstCol = std::max<std::int64_t>(0, d - fighter2.width + 1);
    const std::int64_t endCol = std::min<std::int64_t>(d + 1, fighter1.width);

    for (std::int64_t r = firstRow; r < endRow; ++r) {
        const std::int64_t r2 = r - dy;
        for (std::int64_t c = firstCol; c < endCol; ++c) {
            const std::int64_t c2 = d - c;
            if (found.byFighter1 == 0) {
                const std::int32_t s = strikeValue(fighter1, r, c);
                if (s != 0 && s != lastHit1 && bodyValue(fighter2, r2, c2) != 0) {
                    found.byFighter1 = s;
                }
            }
            if (found.byFighter2 == 0) {
                const std::int32_t s = strikeValue(fighter2, r2, c2);
                if (s != 0 && s != lastHit2 && bodyValue(fighter1, r, c) != 0) {
                    found.byFighter2 = s;
                }
            }
            if (found.byFighter1 != 0 && found.byFighter2 != 0) return found;
        }
    }
    return found;
}

}  // namespace ib
