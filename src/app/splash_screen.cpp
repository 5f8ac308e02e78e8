// The splash and end screens: the picture, the lines written over it (on
// a paper card when asked), the notice, presented.
#include <algorithm>

#include "app/display.h"
#include "app/game.h"
#include "app/notice.h"

namespace ib {

namespace {

// Where the splash screen's lines start: under its title.
constexpr int kSplashLineY = 146;

// A paper card with a dark edge, for lines over a busy picture.
void drawCard(Surface& back, const Rect& r)
{
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (back.lock(pixels, pitch) != DD_OK) return;
    const std::uint16_t paper = toRgb565(0xDDF0FB), edge = toRgb565(0x181010);
    for (int y = std::max(0, r.top); y < std::min(r.bottom, back.height()); ++y)
        for (int x = std::max(0, r.left); x < std::min(r.right, back.width()); ++x) {
            const bool rim = y < r.top + 3 || y >= r.bottom - 3 || x < r.left + 3 || x >= r.right - 3;
            pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch / 2) + static_cast<std::size_t>(x)] =
                rim ? edge : paper;
        }
    back.unlock();
}

void drawScreen(Screen& screen, const std::shared_ptr<Surface>& picture, const Font* font = nullptr,
                const std::vector<std::string>& lines = {}, bool card = false,
                const std::vector<SplashText>* lettering = nullptr)
{
    if (picture && screen.backBuffer) {
        Surface& back = *screen.backBuffer;
        retryRule(screen, [&] {
            return back.bltFast(0, 0, *picture, Rect{0, 0, kScreenWidth - 1, kScreenHeight - 1},
                                DDBLTFAST_NOCOLORKEY);
        });
    }
    if (lettering) drawSplashLettering(screen, *lettering);
    if (card && font && screen.backBuffer) {
        int width = 0;
        for (const std::string& l : lines) width = std::max(width, font->measure(l));
        const int height = static_cast<int>(lines.size()) * font->lineHeight();
        drawCard(*screen.backBuffer, Rect{(kScreenWidth - width) / 2 - 24, kSplashLineY - 18,
                                          (kScreenWidth + width) / 2 + 24, kSplashLineY + height + 18});
    }
    for (std::size_t i = 0; font && i < lines.size(); ++i)
        if (!lines[i].empty())
            drawEdgedText(screen, *font, (kScreenWidth - font->measure(lines[i])) / 2,
                          kSplashLineY + static_cast<int>(i) * font->lineHeight(), lines[i]);
    drawNotice(screen);
    present(screen);
}


}  // namespace

void drawSplash(Screen& screen, const Font* font, const std::vector<std::string>& lines, bool card,
                const std::vector<SplashText>* lettering)
{
    drawScreen(screen, screen.splashSurface, font, lines, card, lettering);
}
void drawEndScreen(Screen& screen) { drawScreen(screen, screen.endSurface); }


}  // namespace ib
