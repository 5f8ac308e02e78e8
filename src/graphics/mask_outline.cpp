#include "graphics/mask_outline.h"

#include <cstddef>

namespace ib {

namespace {

template <class At>
void edges(const HitMask& m, At at, std::vector<MaskCell>& out)
{
    for (int r = 0; r < m.height; ++r)
        for (int c = 0; c < m.width; ++c)
            if (at(r, c) && (!at(r - 1, c) || !at(r + 1, c) || !at(r, c - 1) || !at(r, c + 1)))
                out.push_back({r, c});
}

}  // namespace

MaskOutline outlineMask(const HitMask& m)
{
    MaskOutline out;
    const std::size_t cells = static_cast<std::size_t>(m.width > 0 ? m.width : 0) *
                              static_cast<std::size_t>(m.height > 0 ? m.height : 0);
    // Planes shorter than the mask (a short file) are left alone.
    if (m.body.size() < cells || m.strike.size() < cells) return out;
    edges(m, [&](int r, int c) { return m.bodyAt(r, c) != 0; }, out.body);
    edges(m, [&](int r, int c) { return m.strikeAt(r, c) != 0; }, out.strike);
    return out;
}

}  // namespace ib
