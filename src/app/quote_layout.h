// Laying a quote out in its box: lines break at the quote's own line feeds
// and between words where the next word would pass the box's width; a word
// wider than the box keeps its own line whole. Every line is centred, the
// first one at the top of the box.
#pragma once

#include <cstdint>
#include <cstddef>
#include <functional>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display_types.h"

namespace ib {

class Font;
class Surface;

struct TextLine {
    std::string_view text;  // a view into the laid-out text
    int x = 0;              // left edge, relative to the box (negative when wider)
    int y = 0;              // top edge, relative to the box
};

using MeasureText = std::function<int(std::string_view)>;

// Stops after maxLines lines: the rest would not be seen.
std::vector<TextLine> layoutText(std::string_view text, int boxWidth, int lineHeight,
                                 const MeasureText& measure,
                                 std::size_t maxLines = std::numeric_limits<std::size_t>::max());

// Quotes longer than this are drawn as their first kMaxDrawnQuoteBytes
// bytes (cut between two characters): far more than the box can show, and
// it keeps the work of one pass small whatever the quotes file holds.
constexpr std::size_t kMaxDrawnQuoteBytes = 4096;

// No outline round the letters.
constexpr int kNoOutline = -1;

// What drawTextBox draws with font (null: no font) in a box filled with
// `background`, as a tag for Surface::setDrawnTag: equal tags, equal pixels.
std::string textBoxTag(const Font* font, const Rect& box, std::string_view text,
                       std::uint16_t colour, std::uint16_t background, int outline = kNoOutline);

// Lays text out with font and draws it into box of dst, clipped to the box;
// with an outline colour, every letter is first drawn in it one pixel off
// in the eight directions, so the text reads on any ground.
void drawTextBox(const Font& font, Surface& dst, const Rect& box, std::string_view text,
                 std::uint16_t colour, int outline = kNoOutline);

}  // namespace ib
