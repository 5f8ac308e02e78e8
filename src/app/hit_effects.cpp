#include "app/hit_effects.h"

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "app/display.h"
#include "app/screen.h"
#include "content/content.h"
#include "fight/frame_geometry.h"
#include "fight/hit_feel.h"
#include "graphics/tiny_font.h"

namespace ib {

namespace {

constexpr std::uint16_t kWhite = 0xFFFF;
constexpr std::uint16_t kSparkColour = 0xFFE0;  // yellow
constexpr std::uint16_t kSparkEdge = 0xFC00;    // orange
constexpr std::uint16_t kBlockColour = 0x5DFF;  // pale blue
constexpr std::uint16_t kBlack = 0x0000;
constexpr int kComboScale = 4;

// Half way to white, in 5-6-5 pixels.
std::uint16_t lighten(std::uint16_t p) { return static_cast<std::uint16_t>(((p >> 1) & 0x7BEF) + 0x7BEF); }

std::uint16_t pixelAt(const PixelTarget& t, int x, int y)
{
    return t.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(t.pitch) + static_cast<std::size_t>(x)];
}

// A hit: eight rays of yellow with orange tips round a white core, growing
// as the spark ages. A block: a pale blue ring, a white cross inside.
void drawSpark(const PixelTarget& t, int cx, int cy, std::uint32_t age, bool blocked)
{
    const int reach = 20 + static_cast<int>(age) / 5;
    if (blocked) {
        for (int d = -reach; d <= reach; ++d)
            for (int w = 0; w < 3; ++w) {
                t.put(cx + d, cy - reach + w, kBlockColour);
                t.put(cx + d, cy + reach - w, kBlockColour);
                t.put(cx - reach + w, cy + d, kBlockColour);
                t.put(cx + reach - w, cy + d, kBlockColour);
            }
        for (int d = -reach / 2; d <= reach / 2; ++d)
            for (int w = -1; w <= 1; ++w) {
                t.put(cx + d, cy + w, kWhite);
                t.put(cx + w, cy + d, kWhite);
            }
        return;
    }
    static constexpr int kRays[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    for (const auto& ray : kRays) {
        const bool diagonal = ray[0] != 0 && ray[1] != 0;
        const int length = diagonal ? reach * 2 / 3 : reach;
        for (int s = 0; s <= length; ++s) {
            const std::uint16_t colour = s > length * 2 / 3 ? kSparkEdge : kSparkColour;
            // Rays thin out toward their tips.
            const int half = s < length / 2 ? 1 : 0;
            for (int w = -half; w <= half; ++w)
                t.put(cx + ray[0] * s + (ray[1] != 0 ? w : 0), cy + ray[1] * s + (ray[0] != 0 ? w : 0), colour);
        }
    }
    const int core = 4 + static_cast<int>(age) / 30;
    for (int y = -core; y <= core; ++y)
        for (int x = -core; x <= core; ++x)
            if (x * x + y * y <= core * core) t.put(cx + x, cy + y, kWhite);
}

// A spark picture centred on the hit point, its magenta left out; turned
// to face the way the attacker faces (pictures face left, as fighters do).
void drawSparkPicture(const PixelTarget& t, const Surface& picture, int cx, int cy, bool mirrored)
{
    const int w = picture.width(), h = picture.height();
    const int left = cx - w / 2, top = cy - h / 2;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint16_t p = picture.pixel(mirrored ? w - 1 - x : x, y);
            if (!picture.hasColorKey() || p != picture.colorKey()) t.put(left + x, top + y, p);
        }
}

// The struck fighter's body lit up half way to white.
void drawFlash(const PixelTarget& t, const Fighter& f)
{
    if (!f.frame || !f.frame->image || !f.frame->image->mask) return;
    const HitMask& mask = *f.frame->image->mask;
    const std::int64_t top = pictureTop(f);
    for (int r = 0; r < mask.height; ++r) {
        const std::int64_t y = top + r;
        if (y < 0 || y >= t.height) continue;
        for (int c = 0; c < mask.width; ++c) {
            const std::int64_t x = screenColumn(f, c);
            if (x < 0 || x >= t.width || mask.bodyAt(r, c) == 0) continue;
            t.put(static_cast<int>(x), static_cast<int>(y), lighten(pixelAt(t, static_cast<int>(x), static_cast<int>(y))));
        }
    }
}

// Row `src` moved dx pixels into row `dst` (which may be the same row);
// the edge it leaves repeats the row's end pixel.
void shiftRow(std::uint16_t* dst, const std::uint16_t* src, int width, int dx)
{
    if (dx >= 0) {
        const std::uint16_t edge = src[0];
        std::memmove(dst + dx, src, static_cast<std::size_t>(width - dx) * 2);
        std::fill(dst, dst + dx, edge);
    } else {
        const std::uint16_t edge = src[width - 1];
        std::memmove(dst, src - dx, static_cast<std::size_t>(width + dx) * 2);
        std::fill(dst + width + dx, dst + width, edge);
    }
}

// The whole frame moved by (dx, dy) in place, rows taken in the order
// that reads each before it is written; the edges it leaves keep the
// nearest pixels.
void shift(const PixelTarget& t, int dx, int dy)
{
    if (std::abs(dx) >= t.width || std::abs(dy) >= t.height) return;
    auto row = [&](int y) { return t.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(t.pitch); };
    auto move = [&](int y) { shiftRow(row(y), row(std::clamp(y - dy, 0, t.height - 1)), t.width, dx); };
    if (dy > 0)
        for (int y = t.height - 1; y >= 0; --y) move(y);
    else
        for (int y = 0; y < t.height; ++y) move(y);
}

void outlinedText(const PixelTarget& t, int x, int y, const std::string& s, std::uint16_t colour)
{
    for (const auto& d : {std::pair{-1, 0}, std::pair{1, 0}, std::pair{0, -1}, std::pair{0, 1}})
        drawTinyText(t, x + d.first * 2, y + d.second * 2, s, kBlack, kComboScale);
    drawTinyText(t, x, y, s, colour, kComboScale);
}

// "3 HITS" and the combo's damage, under the attacker's health bar.
void drawCombo(const PixelTarget& t, const FightState& fight, int attacker)
{
    const Combo& c = fight.feel.combo[attacker - 1];
    char hits[32], damage[32];
    std::snprintf(hits, sizeof hits, "%d HITS", static_cast<int>(c.count));
    std::snprintf(damage, sizeof damage, "%.0f DAMAGE", c.damage);
    constexpr int kTop = 120, kMargin = 24;
    int y = kTop;
    for (const std::string& line : {std::string(hits), std::string(damage)}) {
        const int width = static_cast<int>(line.size()) * tinyAdvance(kComboScale);
        const int x = attacker == 1 ? kMargin : t.width - kMargin - width;
        outlinedText(t, x, y, line, line == hits ? kSparkColour : kWhite);
        y += tinyLineHeight(kComboScale);
    }
}

}  // namespace

void drawHitEffects(Screen& screen, const FightState& fight)
{
    const HitFeel& feel = fight.feel;
    if (feel == HitFeel{} || !screen.backBuffer) return;
    Surface& back = *screen.backBuffer;
    PixelTarget t;
    if (!lockAsTarget(back, t)) return;
    const std::uint32_t now = effectClock(fight);
    for (int p = 1; p <= 2; ++p)
        if (const Fighter* f = fight.fighter(p); f && feel.flash[p - 1] > 0) drawFlash(t, *f);
    if (feel.sparkX >= 0 && now - feel.sparkAt < kSparkMs) {
        const Fighter* attacker = fight.fighter(feel.sparkBy);
        const Character* c = attacker ? attacker->character : nullptr;
        const Surface* picture = c ? (feel.sparkBlocked ? c->blockSpark : c->spark).get() : nullptr;
        if (picture)
            drawSparkPicture(t, *picture, feel.sparkX, feel.sparkY, attacker->facing < 0);
        else
            drawSpark(t, feel.sparkX, feel.sparkY, now - feel.sparkAt, feel.sparkBlocked);
    }
    if (feel.shaking && now - feel.shakeAt < kShakeMs) {
        const std::uint32_t age = now - feel.shakeAt;
        const int size = 2 + static_cast<int>(kShakeMs - age) * 4 / static_cast<int>(kShakeMs);
        const bool odd = (age / 33) % 2 != 0;
        shift(t, odd ? -size : size, odd ? size / 2 : -size / 2);
    }
    for (int a = 1; a <= 2; ++a)
        if (comboShown(fight, a)) drawCombo(t, fight, a);
    back.unlock();
}

}  // namespace ib
