// Text on pictures, rendered with SDL_ttf without anti-aliasing
// (TTF_RenderUTF8_Solid): every pixel of a letter is the one colour given.
#pragma once

#include <memory>
#include <string>

#include "contentgen/raster.h"

typedef struct _TTF_Font TTF_Font;

namespace contentgen {

// The first font file found under /usr/share/fonts, Comic Neue Bold before
// DejaVu Sans Bold. Throws when neither is installed.
std::string findFontFile();

class TextWriter {
public:
    // Throws std::runtime_error when SDL_ttf cannot start or open the font.
    explicit TextWriter(const std::string& fontFile);
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    enum class Align { Left, Centre, Right };
    // Draws text with its top at y; x is its left edge, centre or right edge.
    // Returns the width drawn.
    int write(Raster& pic, const std::string& text, int size, int x, int y, Colour colour,
              Align align = Align::Left);
    int width(const std::string& text, int size);

private:
    TTF_Font* font(int size);
    std::string file_;
    struct Fonts;
    std::unique_ptr<Fonts> fonts_;
};

}  // namespace contentgen
