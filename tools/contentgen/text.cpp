#include "contentgen/text.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <vector>

namespace contentgen {

std::string findFontFile()
{
    namespace fs = std::filesystem;
    const char* wanted[] = {"ComicNeue-Bold.otf", "ComicNeue-Bold.ttf", "DejaVuSans-Bold.ttf"};
    std::vector<fs::path> all;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator("/usr/share/fonts", ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_regular_file(ec)) all.push_back(it->path());
    std::sort(all.begin(), all.end());
    for (const char* name : wanted)
        for (const fs::path& p : all)
            if (p.filename() == name) return p.string();
    throw std::runtime_error("no font found under /usr/share/fonts (install fonts-comic-neue or fonts-dejavu-core)");
}

struct TextWriter::Fonts {
    std::map<int, TTF_Font*> bySize;
};

TextWriter::TextWriter(const std::string& fontFile) : file_(fontFile), fonts_(std::make_unique<Fonts>())
{
    if (TTF_Init() != 0) throw std::runtime_error(std::string("TTF_Init: ") + TTF_GetError());
    font(20);  // fail early when the file cannot be opened
}

TextWriter::~TextWriter()
{
    for (auto& [size, f] : fonts_->bySize) TTF_CloseFont(f);
    TTF_Quit();
}

TTF_Font* TextWriter::font(int size)
{
    auto it = fonts_->bySize.find(size);
    if (it != fonts_->bySize.end()) return it->second;
    TTF_Font* f = TTF_OpenFont(file_.c_str(), size);
    if (!f) throw std::runtime_error("cannot open font " + file_ + ": " + TTF_GetError());
    fonts_->bySize[size] = f;
    return f;
}

int TextWriter::width(const std::string& text, int size)
{
    int w = 0, h = 0;
    TTF_SizeUTF8(font(size), text.c_str(), &w, &h);
    return w;
}

int TextWriter::write(Raster& pic, const std::string& text, int size, int x, int y, Colour colour,
                      Align align)
{
    if (text.empty()) return 0;
    SDL_Surface* s = TTF_RenderUTF8_Solid(font(size), text.c_str(), SDL_Color{255, 255, 255, 255});
    if (!s) throw std::runtime_error(std::string("cannot render text: ") + TTF_GetError());
    if (align == Align::Centre) x -= s->w / 2;
    if (align == Align::Right) x -= s->w;
    // A solid rendering is 8-bit with index 0 as the background.
    SDL_LockSurface(s);
    const auto* bytes = static_cast<const unsigned char*>(s->pixels);
    for (int row = 0; row < s->h; ++row)
        for (int col = 0; col < s->w; ++col)
            if (bytes[row * s->pitch + col] != 0) pic.set(x + col, y + row, colour);
    SDL_UnlockSurface(s);
    const int w = s->w;
    SDL_FreeSurface(s);
    return w;
}

}  // namespace contentgen
