#include "app/training_overlay.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/frame_data_overlay.h"
#include "app/game_content.h"
#include "app/display.h"
#include "app/screen.h"
#include "app/level_choice.h"
#include "fight/frame_geometry.h"
#include "app/overlay_lettering.h"

namespace ib {

namespace {

constexpr std::uint16_t kBodyColour = 0x07FF;    // cyan
constexpr std::uint16_t kStrikeColour = 0xF800;  // red
constexpr std::uint16_t kHitColour = 0xFFE0;     // yellow
constexpr std::uint16_t kTextColour = 0xFFFF;  // white, on the lettering's dark backing
constexpr int kTop = 88;  // below the panel
constexpr int kMargin = 6;
constexpr int kHistoryShown = 10;

const MaskOutline& outlineOf(Screen& screen, const HitMask& mask)
{
    auto it = screen.maskOutlines.find(&mask);
    if (it == screen.maskOutlines.end()) it = screen.maskOutlines.emplace(&mask, outlineMask(mask)).first;
    return it->second;
}

void drawCells(const PixelTarget& t, const Fighter& f, const std::vector<MaskCell>& cells, std::uint16_t colour)
{
    const std::int64_t top = pictureTop(f);
    for (const MaskCell& c : cells)
        t.put(static_cast<int>(screenColumn(f, c.col)), static_cast<int>(top + c.row), colour);
}

void drawMasks(Screen& screen, const PixelTarget& t, const FightState& fight)
{
    for (int p = 1; p <= 2; ++p) {
        const Fighter* f = fight.fighter(p);
        if (!f || !f->frame || !f->frame->image || !f->frame->image->mask) continue;
        const MaskOutline& o = outlineOf(screen, *f->frame->image->mask);
        drawCells(t, *f, o.body, kBodyColour);
        drawCells(t, *f, o.strike, kStrikeColour);
    }
    const TrainingState& tr = fight.training;
    if (tr.hitX >= 0) {  // a ring around the last hit
        for (int d = -6; d <= 6; ++d) {
            t.put(tr.hitX + d, tr.hitY - 6, kHitColour);
            t.put(tr.hitX + d, tr.hitY + 6, kHitColour);
            t.put(tr.hitX - 6, tr.hitY + d, kHitColour);
            t.put(tr.hitX + 6, tr.hitY + d, kHitColour);
            t.put(tr.hitX + d, tr.hitY, kHitColour);
        }
    }
}

// A snapshot as arrows (on the screen's sides, as the fighter faces) and
// letters; "-" for nothing held.
std::string buttonsText(const ButtonSet& set, const Fighter& f)
{
    std::string out;
    const bool facesRight = f.facing < 0;
    for (int code : set.codes()) {
        switch (code) {
        case Forward: out += facesRight ? '>' : '<'; break;
        case Back: out += facesRight ? '<' : '>'; break;
        case Up: out += '^'; break;
        case Down: out += 'v'; break;
        case Block: out += 'K'; break;
        case Attack: out += 'A'; break;
        case Hit: out += 'H'; break;
        case KnockOut: out += 'E'; break;
        default: out += '?'; break;
        }
    }
    return out.empty() ? "-" : out;
}

// Each fighter's held buttons, its newest snapshots, its move and where
// the move is, in a block at its side of the screen.
void drawInputs(Screen& screen, const PixelTarget& t, const FightState& fight)
{
    for (int p = 1; p <= 2; ++p) {
        const Fighter* f = fight.fighter(p);
        if (!f) continue;
        std::vector<std::string> lines{"HELD " + buttonsText(f->held, *f)};
        int shown = 0;
        for (const ButtonSet& s : f->history) {
            if (shown++ == kHistoryShown) break;
            lines.push_back("  " + buttonsText(s, *f));
        }
        const Move* m = f->currentMove;
        lines.push_back(m ? m->name : "-");
        if (m && m->animation) {
            const Animation& a = *m->animation;
            int index = 0;
            for (std::size_t i = 0; i < a.frames.size(); ++i)
                if (a.frames[i].get() == f->frame) index = static_cast<int>(i) + 1;
            char buf[48];
            std::snprintf(buf, sizeof buf, "FRAME %d/%zu", index, a.frames.size());
            lines.emplace_back(buf);
            if (a.loops) {
                lines.emplace_back("LOOPS");
            } else {
                const auto elapsed = static_cast<std::int32_t>(fight.currentTime - f->moveStart);
                std::snprintf(buf, sizeof buf, "ENDS IN %dMS", std::max(a.totalDuration - elapsed, 0));
                lines.emplace_back(buf);
            }
        }
        // Under the status line.
        const int top = kTop + overlayBlockHeight(screen, 1) + 4;
        drawOverlayBlock(screen, t, p == 1 ? kMargin : t.width - kMargin, top, lines, kTextColour, p == 2);
    }
}

}  // namespace

void drawTrainingOverlays(Screen& screen, const FightState& fight)
{
    if (fight.mode != PlayMode::Training || !screen.backBuffer) return;
    Surface& back = *screen.backBuffer;
    PixelTarget t;
    if (!lockAsTarget(back, t)) return;
    if (screen.showHitMasks) drawMasks(screen, t, fight);
    if (screen.showInputs) drawInputs(screen, t, fight);
    if (screen.showFrameData) drawFrameData(screen, t, fight);
    const TrainingState& tr = fight.training;
    std::string status = std::string("TRAINING  DUMMY: ") + dummyModeName(tr.dummy);
    if (const int level = fight.computer[1].level; tr.dummy == DummyMode::Computer && level > 0)
        status += " " + std::to_string(level) + " (" + computerLevelName(level) + ")";
    if (tr.recording) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "  REC %u.%uS", (fight.currentTime - tr.recordStart) / 1000,
                      (fight.currentTime - tr.recordStart) / 100 % 10);
        status += buf;
    }
    drawOverlayBlock(screen, t, (kScreenWidth - overlayTextWidth(screen, status)) / 2 - 4, kTop, {status}, kTextColour);
    back.unlock();
}

}  // namespace ib
