#include "app/frame_data_overlay.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "fight/frame_data.h"

namespace ib {

namespace {

constexpr std::uint16_t kText = 0xFFFF;     // white
constexpr std::uint16_t kBacking = 0x0000;  // on black, whatever the stage shows
constexpr int kScale = 2;
constexpr int kBottom = 596;

std::string span(const char* what, std::int32_t ms)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s %dF %dMS", what, static_cast<int>(framesOf(ms)), static_cast<int>(ms));
    return buf;
}

// Lines on a black backing, from the left or the right edge.
void block(const PixelTarget& t, const std::string (&lines)[3], bool left)
{
    std::size_t longest = 0;
    for (const std::string& l : lines) longest = std::max(longest, l.size());
    const int width = static_cast<int>(longest) * tinyAdvance(kScale) + 8;
    const int line = tinyLineHeight(kScale);
    const int top = kBottom - 3 * line - 6;
    const int x0 = left ? 4 : t.width - 4 - width;
    for (int y = top; y < kBottom; ++y)
        for (int x = x0; x < x0 + width; ++x) t.put(x, y, kBacking);
    for (int i = 0; i < 3; ++i) drawTinyText(t, x0 + 4, top + 4 + i * line, lines[i], kText, kScale);
}

}  // namespace

void drawFrameData(const PixelTarget& t, const FightState& fight)
{
    const HitFeel& feel = fight.feel;
    for (int p = 1; p <= 2; ++p) {
        const Move* move = feel.lastAttack[p - 1];
        std::string lines[3];
        if (move) {
            const MoveTiming m = moveTiming(*move);
            lines[0] = move->name;
            lines[1] = span("START", m.startup) + "  " + span("ACTIVE", m.active);
            lines[2] = span("RECOVERY", m.recovery);
        } else {
            lines[0] = "NO ATTACK YET";
        }
        if (feel.advantageOf != 0) {
            const std::int32_t ms = feel.advantageOf == p ? feel.advantage : -feel.advantage;
            char buf[48];
            std::snprintf(buf, sizeof buf, "  ADV %s%dF %+dMS", ms > 0 ? "+" : "", static_cast<int>(framesOf(ms)),
                          static_cast<int>(ms));
            lines[2] += buf;
        }
        block(t, lines, p == 1);
    }
}

}  // namespace ib
