#include "app/notice.h"

#include <algorithm>
#include <cstdint>

#include "app/game.h"
#include "app/quote_layout.h"

namespace ib {

namespace {

// The strip leaves the screen's last row and column alone, as every
// full-screen picture does.
constexpr int kStripHeight = 34;
constexpr Rect kStrip{0, kScreenHeight - 1 - kStripHeight, kScreenWidth - 1, kScreenHeight - 1};

}  // namespace

void showNotice(Game& game, std::string text)
{
    game.notice = std::move(text);
    game.noticeUntil = game.platform.timeGetTime() + kNoticeMs;
}

void drawEdgedText(Game& game, const Font& font, int x, int y, const std::string& text)
{
    if (!game.backBuffer) return;
    const Rect clip{0, 0, kScreenWidth, kScreenHeight};
    font.drawLine(*game.backBuffer, x + 1, y + 1, text, toRgb565(0xFFFFFF), clip);
    font.drawLine(*game.backBuffer, x, y, text, toRgb565(0x101010), clip);
}

void showPadNotice(Game& game, int pad, int player, bool joined)
{
    std::string text = "Pad " + std::to_string(pad);
    if (std::string name = game.platform.padName(pad); !name.empty()) text += " (" + name + ")";
    if (player == 0) text += joined ? " joined; both players have a pad" : " left";
    else text += (joined ? " joined player " : " left player ") + std::to_string(player);
    showNotice(game, std::move(text));
}

void drawNotice(Game& game)
{
    if (game.notice.empty()) return;
    if (static_cast<std::int32_t>(game.platform.timeGetTime() - game.noticeUntil) >= 0) {
        game.notice.clear();
        game.clearPending = true;  // the strip may lie where the fight draws nothing
        return;
    }
    if (!game.backBuffer) return;
    Surface& back = *game.backBuffer;
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (back.lock(pixels, pitch) != DD_OK) return;
    const std::uint16_t ink = toRgb565(0x202020);
    for (int y = kStrip.top; y < kStrip.bottom; ++y) {
        std::uint16_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch / 2);
        std::fill(row + kStrip.left, row + kStrip.right, ink);
    }
    back.unlock();
    if (game.quoteFont) {
        const Font& font = *game.quoteFont;
        const int x = std::max(4, (kScreenWidth - font.measure(game.notice)) / 2);
        const int y = kStrip.top + (kStripHeight - font.lineHeight()) / 2;
        font.drawLine(back, x, y, game.notice, toRgb565(0xBDE3F7), kStrip);
    }
}

}  // namespace ib
