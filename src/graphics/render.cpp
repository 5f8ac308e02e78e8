#include "graphics/render.h"

#include <algorithm>
#include <cstdint>

#include "graphics/image.h"

namespace ib {

std::int32_t saturateToInt32(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

int healthBarLength(int barWidth, double health)
{
    if (barWidth < 2) return 0;
    const double full = static_cast<double>(barWidth - 1);
    const double length = full * health * 0.01;
    if (!(length > 0.0)) return 0;  // also for a health that is not a number
    if (length >= full) return barWidth - 1;
    return static_cast<int>(length);
}

HRESULT drawClipped(Surface& backBuffer, const PlayArea& area, const Image& image, int x, int y,
                    int facing, Rect& out)
{
    const bool mirrored = facing == -1;
    BltFx fx;
    fx.dwDDFX = mirrored ? DDBLTFX_MIRRORLEFTRIGHT : 0;
    // Worked out in 64 bits: the play area and the picture's place come
    // from content files and may lie anywhere in the 32-bit range. A side
    // pushed past that range is kept at its end, which lies outside every
    // surface, so the copy is refused.
    const std::int64_t w = image.width, h = image.height;
    // The picture's last column and row are never drawn.
    std::int64_t srcLeft = 0, srcTop = 0, srcRight = w - 1, srcBottom = h - 1;
    std::int64_t outLeft, outTop, outRight, outBottom;
    const std::int64_t left = area.left;
    const std::int64_t right = area.right;
    const std::int64_t top = area.top;
    const std::int64_t bottom = std::int64_t{area.top} + area.height;

    // A mirrored copy reverses the source, so a cut on one side of the
    // screen takes columns from the other side of the stored picture.
    if (x < left) {
        const std::int64_t d = left - x;
        outLeft = left;
        if (mirrored)
            srcRight -= d;
        else
            srcLeft = d;
    } else {
        outLeft = x;
    }
    if (y < top) {
        srcTop = top - y;
        outTop = top;
    } else {
        outTop = y;
    }
    if (x + w - 1 > right) {
        const std::int64_t o = x + w - 1 - right;
        outRight = right;
        if (mirrored)
            srcLeft += o;
        else
            srcRight -= o;
    } else {
        outRight = x + w - 1;
    }
    if (y + h - 1 > bottom) {
        const std::int64_t o = y + h - 1 - bottom;
        outBottom = bottom;
        srcBottom -= o;
    } else {
        outBottom = y + h - 1;
    }
    out = Rect{saturateToInt32(outLeft), saturateToInt32(outTop), saturateToInt32(outRight), saturateToInt32(outBottom)};
    const Rect src{saturateToInt32(srcLeft), saturateToInt32(srcTop), saturateToInt32(srcRight), saturateToInt32(srcBottom)};
    if (!image.surface) return DDERR_INVALIDPARAMS;
    return backBuffer.blt(out, *image.surface, src, DDBLT_KEYSRC | DDBLT_DDFX, &fx);
}

}  // namespace ib
