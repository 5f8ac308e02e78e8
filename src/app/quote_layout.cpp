#include "app/quote_layout.h"

#include "platform/font.h"

#include <algorithm>
#include <cstdint>

namespace ib {

namespace {

// Breaks one line of the quote (no line feed in it) into lines of the box.
void layoutParagraph(std::string_view par, int boxWidth, const MeasureText& measure,
                     std::size_t maxLines, std::vector<std::string_view>& out)
{
    size_t lineStart = 0;
    size_t lineEnd = 0;  // end of the last word on the line
    bool hasWord = false;
    size_t pos = 0;
    while (pos < par.size()) {
        const size_t wordStart = par.find_first_not_of(' ', pos);
        if (wordStart == std::string_view::npos) break;
        size_t wordEnd = par.find(' ', wordStart);
        if (wordEnd == std::string_view::npos) wordEnd = par.size();
        pos = wordEnd;
        // The first word of a line keeps the spaces before it; a word that
        // fits is added with the spaces between; one that does not starts
        // the next line, and the spaces at the break are dropped.
        if (!hasWord || measure(par.substr(lineStart, wordEnd - lineStart)) <= boxWidth) {
            lineEnd = wordEnd;
            hasWord = true;
            continue;
        }
        out.push_back(par.substr(lineStart, lineEnd - lineStart));
        if (out.size() >= maxLines) return;
        lineStart = wordStart;
        lineEnd = wordEnd;
    }
    out.push_back(par.substr(lineStart, lineEnd - lineStart));
}

}  // namespace

std::vector<TextLine> layoutText(std::string_view text, int boxWidth, int lineHeight,
                                 const MeasureText& measure, std::size_t maxLines)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string_view par = text.substr(start, end == std::string_view::npos ? end : end - start);
        if (!par.empty() && par.back() == '\r') par.remove_suffix(1);
        layoutParagraph(par, boxWidth, measure, maxLines, lines);
        if (end == std::string_view::npos || lines.size() >= maxLines) break;
        start = end + 1;
    }
    if (lines.size() > maxLines) lines.resize(maxLines);
    std::vector<TextLine> out;
    out.reserve(lines.size());
    int y = 0;
    for (std::string_view line : lines) {
        out.push_back({line, (boxWidth - measure(line)) / 2, y});
        y += lineHeight;
    }
    return out;
}

std::string textBoxTag(const Font* font, const Rect& box, std::string_view text,
                       std::uint16_t colour, std::uint16_t background, int outline)
{
    // Only the first kMaxDrawnQuoteBytes bytes are drawn; where drawTextBox
    // cuts also looks at the byte after them.
    text = text.substr(0, kMaxDrawnQuoteBytes + 1);
    const long long fields[] = {reinterpret_cast<std::intptr_t>(font),
                                font ? font->lineHeight() : 0,
                                box.left,
                                box.top,
                                box.right,
                                box.bottom,
                                colour,
                                background,
                                outline};
    std::string tag(reinterpret_cast<const char*>(fields), sizeof fields);
    tag.append(text);
    return tag;
}

void drawTextBox(const Font& font, Surface& dst, const Rect& box, std::string_view text,
                 std::uint16_t colour, int outline)
{
    if (text.size() > kMaxDrawnQuoteBytes) {
        // Cut before a UTF-8 continuation byte, so UTF-8 text stays UTF-8.
        std::size_t cut = kMaxDrawnQuoteBytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        text = text.substr(0, cut);
    }
    const auto measure = [&font](std::string_view s) { return font.measure(s); };
    const int boxHeight = box.bottom - box.top;
    const int lineHeight = std::max(font.lineHeight(), 1);
    const auto shown = static_cast<std::size_t>(std::max(0, (boxHeight + lineHeight - 1) / lineHeight));
    for (const TextLine& line : layoutText(text, box.right - box.left, lineHeight, measure, shown)) {
        if (line.y >= box.bottom - box.top) break;
        const int x = box.left + line.x, y = box.top + line.y;
        if (outline != kNoOutline)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if (dx != 0 || dy != 0)
                        font.drawLine(dst, x + dx, y + dy, line.text, static_cast<std::uint16_t>(outline), box);
        font.drawLine(dst, x, y, line.text, colour, box);
    }
}

}  // namespace ib
