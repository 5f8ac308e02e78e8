// Lettering for training's overlays that reads from a sofa across the room
// on a 1080p screen: the quote font, 18 pixels a line, white on a darkened
// backing so that no part of the stage can swallow it. Without the font,
// the built-in letters at three times their size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/tiny_font.h"

namespace ib {

class Font;
struct Screen;

constexpr int kOverlayLineHeight = 18;

// Width in pixels of one line of overlay text.
int overlayTextWidth(Screen& screen, const std::string& line);

// The height of a block of that many lines.
int overlayBlockHeight(Screen& screen, int lines);

// The lines, one under the other, on a backing that darkens the frame
// under them; the block's top-left corner at (x, y), or its top-right
// corner when fromRight. Returns the block's height.
int drawOverlayBlock(Screen& screen, const PixelTarget& target, int x, int y, const std::vector<std::string>& lines,
                     std::uint16_t colour, bool fromRight = false);

}  // namespace ib
