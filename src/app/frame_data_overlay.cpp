#include "app/frame_data_overlay.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/overlay_lettering.h"
#include "fight/frame_data.h"

namespace ib {

namespace {

constexpr std::uint16_t kText = 0xFFFF;  // white, on the lettering's dark backing
constexpr int kBottom = 596;

std::string span(const char* what, std::int32_t ms)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s %dF %dMS", what, static_cast<int>(framesOf(ms)), static_cast<int>(ms));
    return buf;
}

}  // namespace

void drawFrameData(Screen& screen, const PixelTarget& t, const FightState& fight)
{
    const HitFeel& feel = fight.feel;
    for (int p = 1; p <= 2; ++p) {
        const Move* move = feel.lastAttack[p - 1];
        std::vector<std::string> lines(3);
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
        std::erase(lines, std::string{});
        const int height = overlayBlockHeight(screen, static_cast<int>(lines.size()));
        drawOverlayBlock(screen, t, p == 1 ? 4 : t.width - 4, kBottom - height, lines, kText, p == 2);
    }
}

}  // namespace ib
