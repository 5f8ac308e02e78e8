#include "app/match_overlay.h"

#include <algorithm>
#include <string>

#include "app/display.h"
#include "app/game_content.h"
#include "app/screen.h"
#include "fight/match_rules.h"

namespace ib {

namespace {

// The game's inks (colour values are 0x00BBGGRR), as the splash draws them.
constexpr std::uint16_t kInk = toRgb565(0x181010);
constexpr std::uint16_t kRedInk = toRgb565(0x1820D0);
constexpr std::uint16_t kPaper = toRgb565(0xBDE3F7);
constexpr Rect kWhole{0, 0, kScreenWidth - 1, kScreenHeight - 1};
constexpr int kBannerHeight = 72;
constexpr int kTimerHeight = 44;
constexpr int kMenuHeight = 30;
constexpr int kBlotRadius = 7;

// Letters in an ink, ringed by a thicker dark ink as if the brush bled.
void inked(Surface& back, const Font& font, int x, int y, std::string_view s, std::uint16_t colour, int bleed)
{
    for (int dy = -bleed; dy <= bleed; ++dy)
        for (int dx = -bleed; dx <= bleed; ++dx)
            if (dx * dx + dy * dy <= bleed * bleed && (dx != 0 || dy != 0))
                font.drawLine(back, x + dx, y + dy, s, kInk, kWhole);
    font.drawLine(back, x, y, s, colour, kWhole);
}

void centred(Surface& back, const Font& font, int y, std::string_view s, std::uint16_t colour, int bleed)
{
    inked(back, font, (kScreenWidth - font.measure(s)) / 2, y, s, colour, bleed);
}

// A round blot of ink: filled for a round won, a ring for one to win.
void blot(Surface& back, int cx, int cy, bool filled)
{
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (back.lock(pixels, pitch) != DD_OK) return;
    const int r = kBlotRadius;
    for (int y = -r; y <= r; ++y)
        for (int x = -r; x <= r; ++x) {
            const int d = x * x + y * y;
            const bool ink = filled ? d <= r * r : (d <= r * r && d >= (r - 2) * (r - 2));
            const int px = cx + x, py = cy + y;
            if (!ink || px < 0 || py < 0 || px >= back.width() || py >= back.height()) continue;
            pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(pitch / 2) +
                   static_cast<std::size_t>(px)] = filled ? kRedInk : kInk;
        }
    back.unlock();
}

void drawBlots(const Content& content, Surface& back, const MatchState& m)
{
    const Level& level = *content.level;
    const int needed = m.rounds / 2 + 1;
    const int step = 2 * kBlotRadius + 6;
    const int width = level.healthBarWidth;
    for (int p = 0; p < 2; ++p) {
        const int y = (p == 0 ? level.bar1Y : level.bar2Y) + level.healthBarHeight + kBlotRadius + 4;
        for (int i = 0; i < needed; ++i) {
            // Player 1's blots from the left end of the bar, player 2's from the right.
            const int x = p == 0 ? level.bar1X + kBlotRadius + i * step
                                 : level.bar2X + width - 1 - kBlotRadius - i * step;
            blot(back, x, y, i < m.roundsWon[p]);
        }
    }
}

void drawMenu(Screen& screen, Surface& back, const MatchState& m)
{
    const Font* font = screen.font(kMenuHeight);
    if (!font) return;
    const auto items = menuItems(m.menu);
    const int line = kMenuHeight + 10;
    int y = 300;
    if (m.menu == MatchMenu::Pause || m.menu == MatchMenu::TrainingPause) {
        if (const Font* big = screen.font(kBannerHeight)) centred(back, *big, 200, "PAUSED", kRedInk, 4);
    }
    if (const std::string_view title = menuTitle(m.menu); !title.empty())
        centred(back, *font, y - line, title, kPaper, 2);
    for (std::size_t i = 0; i < items.size(); ++i, y += line) {
        const bool chosen = static_cast<int>(i) == m.menuChoice;
        std::string text = menuItemText(items[i]);
        if (chosen) text = "> " + text + " <";
        centred(back, *font, y, text, chosen ? kRedInk : kPaper, 2);
    }
}

}  // namespace

void drawMatchOverlays(Screen& screen, const Content& content, const FightState& fight)
{
    const MatchState& m = fight.match;
    if (!screen.backBuffer || !content.level) return;
    Surface& back = *screen.backBuffer;
    // Training has no match, only its pause menu.
    if (!m.on) {
        if (m.menu != MatchMenu::None) drawMenu(screen, back, m);
        return;
    }
    const Level& level = *content.level;
    if (const int left = secondsLeft(fight); left >= 0) {
        if (const Font* font = screen.font(kTimerHeight)) {
            char digits[3] = {static_cast<char>('0' + left / 10 % 10), static_cast<char>('0' + left % 10), 0};
            // Between the end of bar 1 and the start of bar 2.
            const int middle = (level.bar1X + level.healthBarWidth + level.bar2X) / 2;
            // Below the panel's middle emblem, which reaches down to the
            // bars' lower edge.
            const int y = std::max(level.bar1Y, level.bar2Y) + level.healthBarHeight;
            inked(back, *font, middle - font->measure(digits) / 2, std::max(0, y), digits, kPaper, 2);
        }
    }
    drawBlots(content, back, m);
    // The pause menu hides the banner it stopped.
    const std::string banner = m.menu == MatchMenu::Pause || m.menu == MatchMenu::ConfirmQuit ? std::string() : bannerText(fight);
    if (!banner.empty()) {
        if (const Font* font = screen.font(kBannerHeight)) {
            if (m.banner == Banner::MatchOver) {
                const std::size_t space = banner.rfind(' ');
                centred(back, *font, 150, banner.substr(0, space), kRedInk, 4);
                centred(back, *font, 150 + kBannerHeight, banner.substr(space + 1), kRedInk, 4);
            } else {
                centred(back, *font, 200, banner, kRedInk, 4);
            }
        }
    }
    if (m.menu != MatchMenu::None) drawMenu(screen, back, m);
}

}  // namespace ib
