// The quote font through SDL_ttf: glyphs are rendered solid (no
// anti-aliasing), so every pixel is either a letter's or untouched, and a
// colour-keyed copy of the text leaves no fringe of the background colour.
#include "platform/font.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace ib {

struct Font::Impl {
    TTF_Font* font = nullptr;
    int lineHeight = 0;

    ~Impl()
    {
        if (font) TTF_CloseFont(font);
    }
};

namespace {

bool ttfReady()
{
    static const bool ready = TTF_WasInit() > 0 || TTF_Init() == 0;
    return ready;
}

// Quotes files are 8-bit text: UTF-8 when they are valid UTF-8, else read as
// Latin-1, so that a stray accented byte still shows as a letter.
bool isUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        int extra = -1;
        if (c < 0x80)
            extra = 0;
        else if ((c & 0xE0) == 0xC0)
            extra = 1;
        else if ((c & 0xF0) == 0xE0)
            extra = 2;
        else if ((c & 0xF8) == 0xF0)
            extra = 3;
        if (extra < 0 || i + static_cast<size_t>(extra) >= s.size()) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2) return false;
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::string toUtf8(std::string_view s)
{
    // SDL_ttf stops at a NUL byte; so does the text we hand it.
    s = s.substr(0, std::min(s.find('\0'), s.size()));
    if (isUtf8(s)) return std::string(s);
    std::string out;
    out.reserve(s.size() * 2);
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Font::~Font() = default;

std::unique_ptr<Font> Font::open(const std::string& path, int lineHeight)
{
    if (lineHeight < 1 || !ttfReady()) return nullptr;
    auto impl = std::make_unique<Impl>();
    impl->font = TTF_OpenFont(path.c_str(), 12);
    if (!impl->font) return nullptr;
    impl->lineHeight = lineHeight;
    // The largest size whose letters, ascent to descent, fit one line.
    int best = 1;
    for (int size = 1; size <= 4 * lineHeight; ++size) {
        if (TTF_SetFontSize(impl->font, size) != 0) break;
        if (TTF_FontHeight(impl->font) > lineHeight) break;
        best = size;
    }
    if (TTF_SetFontSize(impl->font, best) != 0) return nullptr;
    TTF_SetFontHinting(impl->font, TTF_HINTING_MONO);
    return std::unique_ptr<Font>(new Font(std::move(impl)));
}

std::unique_ptr<Font> Font::openQuoteFont(int lineHeight)
{
    static bool told = false;
    auto say = [](const char* what) {
        if (told) return;
        told = true;
        std::fprintf(stderr, "inkblot: %s\n", what);
    };
    const char* const comic[] = {
        "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf",
        "/usr/share/fonts/truetype/comic-neue/ComicNeue-Regular.ttf",
    };
    for (const char* path : comic)
        if (auto font = open(path, lineHeight)) return font;
    if (auto font = open("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", lineHeight)) {
        say("quote font Comic Neue not found (fonts-comic-neue); quotes use DejaVu Sans");
        return font;
    }
    say("no quote font found (fonts-comic-neue, fonts-dejavu-core); quotes are not shown");
    return nullptr;
}

int Font::lineHeight() const { return impl_->lineHeight; }

int Font::measure(std::string_view text) const
{
    const std::string s = toUtf8(text);
    if (s.empty()) return 0;
    int w = 0, h = 0;
    if (TTF_SizeUTF8(impl_->font, s.c_str(), &w, &h) != 0) return 0;
    return w;
}

void Font::drawLine(Surface& dst, int x, int y, std::string_view text, std::uint16_t colour,
                    const Rect& clip) const
{
    const std::string s = toUtf8(text);
    if (s.empty()) return;
    // Palette index 0 is the background, anything else a letter.
    SDL_Surface* glyphs = TTF_RenderUTF8_Solid(impl_->font, s.c_str(), SDL_Color{0, 0, 0, 255});
    if (!glyphs) return;
    const int left = std::max({clip.left, 0, x});
    const int top = std::max({clip.top, 0, y});
    const int right = std::min({clip.right, dst.width(), x + glyphs->w});
    const int bottom = std::min({clip.bottom, dst.height(), y + glyphs->h});
    if (SDL_LockSurface(glyphs) == 0) {
        const auto* src = static_cast<const std::uint8_t*>(glyphs->pixels);
        for (int row = top; row < bottom; ++row) {
            const std::uint8_t* s8 = src + static_cast<size_t>(row - y) * glyphs->pitch;
            std::uint16_t* d = dst.data() + static_cast<size_t>(row) * dst.width();
            for (int col = left; col < right; ++col)
                if (s8[col - x]) d[col] = colour;
        }
        SDL_UnlockSurface(glyphs);
    }
    SDL_FreeSurface(glyphs);
}

}  // namespace ib
