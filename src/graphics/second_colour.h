// A fighter against itself: player 2's pictures in a second colour, red and
// blue swapped (rook's red sash turns blue, quill's blue ink red), so the
// two can be told apart. The colour key (magenta) stays as it is.
#pragma once

#include <memory>

#include "platform/surface.h"

namespace ib {

// A copy of `picture` with red and blue swapped; null when the display
// cannot make one.
std::shared_ptr<Surface> secondColour(DisplayDevice& device, const Surface& picture);

}  // namespace ib
