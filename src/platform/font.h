// Text for the game's few lines of writing: a TrueType font measured and
// drawn without anti-aliasing into a Surface.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/surface.h"

namespace ib {

class Font {
public:
    // Opens a font file so that one line is lineHeight pixels high; null
    // when the file cannot be opened.
    static std::unique_ptr<Font> open(const std::string& path, int lineHeight);
    // The quote font: Comic Neue if installed, else a plain sans font, else
    // null. Says on standard error, once, when it falls back or finds none.
    static std::unique_ptr<Font> openQuoteFont(int lineHeight);

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    int lineHeight() const;
    // Width in pixels of text drawn on one line.
    int measure(std::string_view text) const;
    // Draws one line with its top-left corner at (x, y), in colour, only
    // inside clip (exclusive right and bottom); pixels of the letters only.
    void drawLine(Surface& dst, int x, int y, std::string_view text, std::uint16_t colour,
                  const Rect& clip) const;

private:
    struct Impl;
    explicit Font(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace ib
