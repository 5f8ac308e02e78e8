#include "fight/hit_point.h"

#include "fight/frame_geometry.h"

namespace ib {

bool findHitPixel(const Fighter& f1, const Fighter& f2, std::int32_t& x, std::int32_t& y)
{
    const Frame* a = f1.frame;
    const Frame* b = f2.frame;
    if (!a || !b || !a->image || !b->image || !a->image->mask || !b->image->mask) return false;
    const HitMask& m1 = *a->image->mask;
    const HitMask& m2 = *b->image->mask;
    const std::int64_t x1 = pictureLeft(f1), x2 = pictureLeft(f2);
    const std::int64_t d = x1 > x2 ? x1 - x2 : x2 - x1;
    const std::int64_t dy = pictureTop(f2) - pictureTop(f1);
    for (std::int64_t r = 0; r < a->image->height; ++r) {
        for (std::int64_t c = 0; c <= d && c < a->image->width; ++c) {
            const int r2 = static_cast<int>(r - dy), c2 = static_cast<int>(d - c);
            const int r1 = static_cast<int>(r), c1 = static_cast<int>(c);
            if ((m1.strikeAt(r1, c1) && m2.bodyAt(r2, c2)) || (m2.strikeAt(r2, c2) && m1.bodyAt(r1, c1))) {
                x = toPosition(screenColumn(f1, c1));
                y = toPosition(pictureTop(f1) + r);
                return true;
            }
        }
    }
    return false;
}

}  // namespace ib
