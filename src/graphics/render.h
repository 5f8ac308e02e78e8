// Drawing pictures of the fight: a fighter's picture cut to the play area,
// and the length of a health bar.
#pragma once

#include <cstdint>

#include "platform/display_types.h"

namespace ib {

struct Image;
class Surface;

// Where fighters may be drawn: columns left to right and rows top to
// top + height, each end included.
struct PlayArea {
    std::int32_t left = 0;
    std::int32_t right = 0;
    std::int32_t top = 0;
    std::int32_t height = 0;
};

// Copies image with its colour key to the back buffer with its top-left
// corner at (x, y), mirrored when facing is -1, cut to the play area.
HRESULT drawClipped(Surface& backBuffer, const PlayArea& area, const Image& image, int x, int y,
                    int facing, Rect& out);

// Health bar length in pixels for a bar picture barWidth wide.
int healthBarLength(int barWidth, double health);

// v kept to the 32-bit range.
std::int32_t saturateToInt32(std::int64_t v);

}  // namespace ib
