#include "app/notice.h"

#include <algorithm>
#include <cstdint>

#include "app/screen.h"
#include "app/quote_layout.h"

namespace ib {

namespace {

// The strip leaves the screen's last row and column alone, as every
// full-screen picture does.
constexpr int kStripHeight = 34;
constexpr Rect kStrip{0, kScreenHeight - 1 - kStripHeight, kScreenWidth - 1, kScreenHeight - 1};

}  // namespace

void showNotice(Screen& screen, std::string text)
{
    screen.notice = std::move(text);
    screen.noticeUntil = screen.platform.timeGetTime() + kNoticeMs;
}

void drawEdgedText(Screen& screen, const Font& font, int x, int y, const std::string& text)
{
    if (!screen.backBuffer) return;
    const Rect clip{0, 0, kScreenWidth, kScreenHeight};
    font.drawLine(*screen.backBuffer, x + 1, y + 1, text, toRgb565(0xFFFFFF), clip);
    font.drawLine(*screen.backBuffer, x, y, text, toRgb565(0x101010), clip);
}

void showPadNotice(Screen& screen, int pad, int player, bool joined)
{
    std::string text = "Pad " + std::to_string(pad);
    if (std::string name = screen.platform.padName(pad); !name.empty()) text += " (" + name + ")";
    if (player == 0) text += joined ? " joined; both players have a pad" : " left";
    else text += (joined ? " joined player " : " left player ") + std::to_string(player);
    showNotice(screen, std::move(text));
}

void drawNotice(Screen& screen)
{
    if (screen.notice.empty()) return;
    if (static_cast<std::int32_t>(screen.platform.timeGetTime() - screen.noticeUntil) >= 0) {
        screen.notice.clear();
        screen.clearPending = true;  // the strip may lie where the fight draws nothing
        return;
    }
    if (!screen.backBuffer) return;
    Surface& back = *screen.backBuffer;
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (back.lock(pixels, pitch) != DD_OK) return;
    const std::uint16_t ink = toRgb565(0x202020);
    for (int y = kStrip.top; y < kStrip.bottom; ++y) {
        std::uint16_t* row = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch / 2);
        std::fill(row + kStrip.left, row + kStrip.right, ink);
    }
    back.unlock();
    if (screen.quoteFont) {
        const Font& font = *screen.quoteFont;
        const int x = std::max(4, (kScreenWidth - font.measure(screen.notice)) / 2);
        const int y = kStrip.top + (kStripHeight - font.lineHeight()) / 2;
        font.drawLine(back, x, y, screen.notice, toRgb565(0xBDE3F7), kStrip);
    }
}

}  // namespace ib
