// The hit scan: cell by cell for reference, and 64 cells at a time in the
// packed planes for the fight.
#include "fight/hit_scan.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// A span of fighter 1's picture: rows [top, bottom), columns [left, right).
struct Span {
    std::int64_t top, bottom, left, right;
    bool empty() const { return top >= bottom || left >= right; }
    Span cut(const Span& o) const
    {
        return Span{std::max(top, o.top), std::min(bottom, o.bottom), std::max(left, o.left),
                    std::min(right, o.right)};
    }
};

// A packed plane read in fighter 1's cells: cell (r, c) is bit c + colShift
// of the plane's row r - rowShift.
struct PlaneView {
    const std::uint64_t* bits;
    std::int64_t wordsPerRow;
    std::int64_t rowShift;
    std::int64_t colShift;
};

// The strike values of one direction, read in fighter 1's cells: cell (r, c)
// is values[(r - rowShift) * stride + base + step * c]; step is 1 or -1.
struct ValueView {
    const std::uint8_t* values;
    std::int64_t size;
    std::int64_t stride;
    std::int64_t rowShift;
    std::int64_t base;
    std::int64_t step;

    std::int64_t at(std::int64_t r, std::int64_t c) const
    {
        return (r - rowShift) * stride + base + step * c;
    }
};

// Bit i set where p[i] differs from value, for i from 0 to 63.
std::uint64_t bytesDiffer(const std::uint8_t* p, std::uint8_t value)
{
#if defined(__SSE2__)
    const __m128i key = _mm_set1_epi8(static_cast<char>(value));
    auto same = [&](int i) -> std::uint64_t {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        return static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, key)));
    };
    return ~(same(0) | same(1) << 16 | same(2) << 32 | same(3) << 48);
#else
    std::uint64_t differ = 0;
    for (int i = 0; i < 64; ++i) differ |= std::uint64_t{p[i] != value} << i;
    return differ;
#endif
}

// Of the cells c to c + 63 of row r, those whose value differs from `value`;
// all of them when their values do not lie in one stretch of the plane.
std::uint64_t valuesDiffer(const ValueView& v, std::int64_t r, std::int64_t c, std::uint8_t value)
{
    const std::int64_t first = v.step > 0 ? v.at(r, c) : v.at(r, c + 63);
    if (first < 0 || first + 64 > v.size) return ~std::uint64_t{0};
    const std::uint64_t differ = bytesDiffer(v.values + first, value);
    return v.step > 0 ? differ : reverseBits(differ);
}

// The 64 bits of a row from bit `shift` of lo on; shift is 0 to 63. Shifting
// hi twice keeps the shift below 64 when shift is 0.
inline std::uint64_t window(std::uint64_t lo, std::uint64_t hi, unsigned shift)
{
    return (lo >> shift) | ((hi << 1) << (63 - shift));
}

// The first cell of `span` in scan order where the striker's strike meets
// the victim's body with a value other than lastHit; that value, or 0. When
// `checkValues` is false no strike value equals lastHit, so the first
// meeting lands.
std::int32_t firstStrike(const PlaneView& strike, const PlaneView& body, const ValueView& v,
                         const Span& span, std::int32_t lastHit, bool checkValues)
{
    const std::int64_t chunks = (span.right - span.left + 63) / 64;
    const unsigned tail = static_cast<unsigned>(span.right - span.left) & 63;
    const std::uint64_t lastMask = tail == 0 ? ~std::uint64_t{0} : (std::uint64_t{1} << tail) - 1;
    const std::int64_t strikeBit = span.left + strike.colShift;
    const std::int64_t bodyBit = span.left + body.colShift;
    const unsigned strikeShift = static_cast<unsigned>(strikeBit & 63);
    const unsigned bodyShift = static_cast<unsigned>(bodyBit & 63);

    for (std::int64_t r = span.top; r < span.bottom; ++r) {
        const std::uint64_t* s =
            strike.bits + (r - strike.rowShift) * strike.wordsPerRow + (strikeBit >> 6);
        const std::uint64_t* b =
            body.bits + (r - body.rowShift) * body.wordsPerRow + (bodyBit >> 6);
        for (std::int64_t k = 0; k < chunks; ++k) {
            std::uint64_t meet =
                window(s[k], s[k + 1], strikeShift) & window(b[k], b[k + 1], bodyShift);
            if (k == chunks - 1) meet &= lastMask;
            if (meet == 0) continue;
            const std::int64_t c = span.left + 64 * k;
            // Candidates that would land lastHit again are passed over, 64
            // at a time where their values can be read together.
            if (checkValues) meet &= valuesDiffer(v, r, c, static_cast<std::uint8_t>(lastHit));
            while (meet != 0) {
                const std::int32_t value = v.values[v.at(r, c + std::countr_zero(meet))];
                if (!checkValues || value != lastHit) return value;
                meet &= meet - 1;
            }
        }
    }
    return 0;
}

// Whether the striker can land at all, and whether its candidates need
// their values compared with lastHit.
bool canLand(const PackedPlanes& striker, std::int32_t lastHit, bool& checkValues)
{
    const bool seen = lastHit > 0 && lastHit < 256 &&
                      striker.strikeValues.test(static_cast<std::size_t>(lastHit));
    checkValues = seen;
    // A striker whose only value is lastHit lands nowhere.
    return striker.strikeValues.any() && !(seen && striker.strikeValues.count() == 1);
}

}  // namespace

Strikes findStrikesPacked(const PoseMask& fighter1, const PoseMask& fighter2, std::int64_t d,
                          std::int64_t dy, std::int32_t lastHit1, std::int32_t lastHit2)
{
    Strikes found;
    if (d < 0 || fighter1.mask == nullptr || fighter2.mask == nullptr) return found;
    const HitMask& m1 = *fighter1.mask;
    const HitMask& m2 = *fighter2.mask;
    if (!m1.isPacked() || !m2.isPacked())
        return findStrikes(fighter1, fighter2, d, dy, lastHit1, lastHit2);
    const PackedPlanes& p1 = m1.packed;
    const PackedPlanes& p2 = m2.packed;

    // The cells inside both pictures and both masks, as findStrikes clips.
    const Span both{std::max<std::int64_t>(dy, 0),
                    std::min({std::int64_t{fighter1.height}, std::int64_t{m1.height},
                              dy + fighter2.height, dy + m2.height}),
                    std::max({std::int64_t{0}, d - fighter2.width + 1, d - m2.width + 1}),
                    std::min({d + 1, std::int64_t{fighter1.width}, std::int64_t{m1.width}})};
    if (both.empty()) return found;
    // Boxes of fighter 2's planes in fighter 1's cells: its column x lies on
    // c = d - x, and its mirrored bit of c is c + (width - 1 - d).
    auto fromFighter2 = [&](const PlaneBox& box) {
        return Span{box.top + dy, box.bottom + dy, d - box.right + 1, d - box.left + 1};
    };
    auto fromFighter1 = [](const PlaneBox& box) {
        return Span{box.top, box.bottom, box.left, box.right};
    };
    const std::int64_t mirrorShift = std::int64_t{m2.width} - 1 - d;

    bool check = false;
    if (canLand(p1, lastHit1, check)) {
        const Span span = both.cut(fromFighter1(p1.strikeBox)).cut(fromFighter2(p2.bodyBox));
        if (!span.empty()) {
            found.byFighter1 = firstStrike(
                PlaneView{p1.strike.data(), p1.wordsPerRow, 0, 0},
                PlaneView{p2.bodyMirrored.data(), p2.wordsPerRow, dy, mirrorShift},
                ValueView{m1.strike.data(), std::ssize(m1.strike), m1.width, 0, 0, 1}, span,
                lastHit1, check);
        }
    }
    if (canLand(p2, lastHit2, check)) {
        const Span span = both.cut(fromFighter2(p2.strikeBox)).cut(fromFighter1(p1.bodyBox));
        if (!span.empty()) {
            found.byFighter2 = firstStrike(
                PlaneView{p2.strikeMirrored.data(), p2.wordsPerRow, dy, mirrorShift},
                PlaneView{p1.body.data(), p1.wordsPerRow, 0, 0},
                ValueView{m2.strike.data(), std::ssize(m2.strike), m2.width, dy, d, -1}, span,
                lastHit2, check);
        }
    }
    return found;
}

}  // namespace ib
