#include "app/quotes.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "app/display.h"
#include "app/game_content.h"
#include "app/screen.h"
#include "app/quote_layout.h"
#include "content/content_files.h"
#include "fight/hit_feel.h"
#include "fight/quote_choice.h"

namespace ib {

namespace {

// The quote box on the quote surface, and how it sits above the speaker.
constexpr Rect kQuoteBox{0, 0, 127, 200};
constexpr int kQuoteOffsetX = -64;
constexpr int kQuoteOffsetY = -422;

bool isBlank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

void loadQuotes(QuoteBook& book, const std::string& name, ContentFiles* files)
{
    book.clear();
    std::ifstream file(files ? files->pathOf(name) : name, std::ios::binary);
    if (!file) return;
    std::stringstream in;
    in << file.rdbuf();
    if (files) {
        const std::string& text = in.str();
        files->noteRead(name, text.data(), text.size());
    }
    // Quotes are separated by blank lines; each is added at the front, so
    // the book holds them newest-read first.
    std::string pending;
    std::string line;
    auto finish = [&] {
        if (!pending.empty()) book.push_front(std::move(pending));
        pending.clear();
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (isBlank(line)) {
            finish();
        } else {
            if (!pending.empty()) pending += '\n';
            pending += line;
        }
    }
    // The end of the file, or a read error, ends the last quote.
    finish();
}

void drawQuote(Screen& screen, const Content& content, const FightState& fight)
{
    const ActiveQuote& quote = fight.activeQuote;
    // An old quote is not shown; the fight's pass ends it after the frame.
    if (quote.startTime == 0 || quoteOver(fight)) return;
    const Fighter* speaker = fight.fighter(quote.speaker);
    if (!screen.quoteSurface || !screen.backBuffer || !content.level || !speaker) return;
    if (quote.text < 0 || static_cast<std::size_t>(quote.text) >= content.quoteBook.size()) return;
    const std::string& text = content.quoteBook[static_cast<std::size_t>(quote.text)];
    Surface& box = *screen.quoteSurface;
    // A picture smaller than the box cannot hold it; the copy would be
    // refused anyway.
    if (box.width() < kQuoteBox.right || box.height() < kQuoteBox.bottom) return;

    // The box is laid out and drawn on a quote's first frame; the frames
    // after it copy it as it is, as long as nothing else was drawn there.
    const std::uint16_t magenta = toRgb565(kMagenta);
    const std::uint16_t black = toRgb565(0);
    // Outside the quick fight the black letters get a white outline, so
    // that a quote reads whatever part of the stage lies behind it.
    const int outline = feelsHits(fight) ? toRgb565(0xFFFFFF) : kNoOutline;
    std::string drawn = textBoxTag(screen.quoteFont.get(), kQuoteBox, text, black, magenta, outline);
    if (box.drawnTag() != drawn) {
        std::uint16_t* pixels = nullptr;
        std::int32_t pitch = 0;
        if (box.lock(pixels, pitch) != DD_OK) return;
        for (int y = kQuoteBox.top; y < kQuoteBox.bottom; ++y) {
            std::uint16_t* row = pixels + static_cast<size_t>(y) * (pitch / 2);
            std::fill(row + kQuoteBox.left, row + kQuoteBox.right, magenta);
        }
        if (screen.quoteFont) drawTextBox(*screen.quoteFont, box, kQuoteBox, text, black, outline);
        box.unlock();
        box.setDrawnTag(std::move(drawn));
    }

    // Not clipped: a box that would stick out of the screen is refused and
    // the quote is simply not seen in this pass.
    // Worked out in 64 bits: a fighter may stand anywhere in the 32-bit
    // range, and a place past it cannot be on the screen either.
    const std::int64_t x64 = std::int64_t{speaker->x} + kQuoteOffsetX;
    const std::int64_t y64 =
        std::int64_t{speaker->y} + content.level->layerY + kQuoteOffsetY;
    if (x64 < INT32_MIN || x64 > INT32_MAX || y64 < INT32_MIN || y64 > INT32_MAX) return;
    const auto x = static_cast<std::int32_t>(x64);
    const auto y = static_cast<std::int32_t>(y64);
    Surface& back = *screen.backBuffer;
    retryRule(screen, [&] { return back.bltFast(x, y, box, kQuoteBox, DDBLTFAST_SRCCOLORKEY); });
}

}  // namespace ib
