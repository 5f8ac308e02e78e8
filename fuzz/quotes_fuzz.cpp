// The quotes reader, then the first and the last quote laid out and drawn
// in the quote box with the game's font.
#include "app/quote_layout.h"
#include "app/quotes.h"
#include "fuzz_support.h"
#include "platform/font.h"

namespace {

std::unique_ptr<ib::Font>& font()
{
    static std::unique_ptr<ib::Font> f;
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ib::fuzz::setUp();
    font() = ib::Font::openQuoteFont(23);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace ib;
    fuzz::InWorkDir in;
    fuzz::writeInput("fuzz.quotes", data, size);
    QuoteBook book;
    loadQuotes(book, "fuzz.quotes");
    for (const std::string& text : book)
        if (text.empty()) __builtin_trap();  // the reader keeps no empty quote
    if (book.empty()) return 0;

    static std::shared_ptr<DisplayDevice> device = std::make_shared<DisplayDevice>();
    static std::shared_ptr<Surface> box = [] {
        std::shared_ptr<Surface> s;
        device->createSurface(127, 200, s);
        return s;
    }();
    const Rect area{0, 0, 127, 200};
    for (const std::string* text : {&book.front(), &book.back()}) {
        if (font())
            drawTextBox(*font(), *box, area, *text, 0);
        else
            layoutText(*text, 127, 23, [](std::string_view s) { return static_cast<int>(s.size()) * 9; });
    }
    return 0;
}
