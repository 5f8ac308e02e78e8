#include "app/overlay_lettering.h"

#include <algorithm>

#include "app/screen.h"
#include "platform/font.h"

namespace ib {

namespace {

constexpr int kTinyScale = 3;  // 15 pixels tall, without a font
constexpr int kPad = 4;

// A quarter of the colour: the stage shows through, dim enough for white.
std::uint16_t darken(std::uint16_t p) { return static_cast<std::uint16_t>((p >> 2) & 0x39E7); }

int lineHeight(const Font* font) { return font ? font->lineHeight() : tinyLineHeight(kTinyScale); }

}  // namespace

int overlayTextWidth(Screen& screen, const std::string& line)
{
    if (const Font* font = screen.font(kOverlayLineHeight)) return font->measure(line);
    return static_cast<int>(line.size()) * tinyAdvance(kTinyScale);
}

int overlayBlockHeight(Screen& screen, int lines)
{
    return lines * lineHeight(screen.font(kOverlayLineHeight)) + 2 * kPad;
}

int drawOverlayBlock(Screen& screen, const PixelTarget& t, int x, int y, const std::vector<std::string>& lines,
                     std::uint16_t colour, bool fromRight)
{
    if (lines.empty() || !screen.backBuffer) return 0;
    const Font* font = screen.font(kOverlayLineHeight);
    int width = 0;
    for (const std::string& line : lines) width = std::max(width, overlayTextWidth(screen, line));
    width += 2 * kPad;
    const int height = overlayBlockHeight(screen, static_cast<int>(lines.size()));
    const int left = fromRight ? x - width : x;
    for (int row = std::max(y, 0); row < std::min(y + height, t.height); ++row)
        for (int col = std::max(left, 0); col < std::min(left + width, t.width); ++col) {
            std::uint16_t& p = t.pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(t.pitch) +
                                        static_cast<std::size_t>(col)];
            p = darken(p);
        }
    const Rect whole{0, 0, t.width, t.height};
    int line = y + kPad;
    for (const std::string& text : lines) {
        if (font)
            font->drawLine(*screen.backBuffer, left + kPad, line, text, colour, whole);
        else
            drawTinyText(t, left + kPad, line, text, colour, kTinyScale);
        line += lineHeight(font);
    }
    return height;
}

}  // namespace ib
