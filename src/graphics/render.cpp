#include "graphics/render.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/display.h"
#include "app/game.h"
#include "app/quotes.h"

namespace ib {

namespace {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// Paints both pages black, once per run, through a black scratch picture.
// False when the scratch picture cannot be made: the pass then draws
// nothing and the next one tries again.
bool clearScreen(Game& game)
{
    if (!game.directDraw) return false;
    std::shared_ptr<Surface> black;
    if (game.directDraw->createSurface(kScreenWidth, kScreenHeight, black) != DD_OK) return false;
    PixelFormat format;
    if (black->getPixelFormat(format) != DD_OK) return false;
    std::uint16_t* pixels = nullptr;
    std::int32_t pitch = 0;
    if (black->lock(pixels, pitch) != DD_OK) return false;
    for (int y = 0; y < kScreenHeight; ++y) {
        std::uint16_t* row = pixels + static_cast<size_t>(y) * (pitch / 2);
        std::fill(row, row + kScreenWidth, std::uint16_t{0});
    }
    black->unlock();
    // Like every full-screen picture, the last column and row are left out.
    const Rect whole{0, 0, kScreenWidth - 1, kScreenHeight - 1};
    if (game.backBuffer) game.backBuffer->bltFast(0, 0, *black, whole, DDBLTFAST_NOCOLORKEY);
    if (game.primarySurface) game.primarySurface->bltFast(0, 0, *black, whole, DDBLTFAST_NOCOLORKEY);
    game.clearPending = false;
    return true;
}

// A layer copied to a fixed place under the retry rule. A level without the
// picture has nothing to show there: the step is left out and the frame
// goes on. False only when the copy itself failed.
bool drawLayer(Game& game, const std::shared_ptr<Surface>& picture, int x, int y, const Rect& src,
               std::uint32_t trans)
{
    if (!picture) return true;
    Surface& back = *game.backBuffer;
    Surface& pic = *picture;
    return retryRule(game, [&] { return back.bltFast(x, y, pic, src, trans); });
}

std::int32_t saturate(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

// A rectangle from sides worked out in 64 bits; false when one does not fit
// the 32-bit fields, where no surface could hold it anyway.
bool toRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, Rect& out)
{
    for (std::int64_t v : {left, top, right, bottom})
        if (v < INT32_MIN || v > INT32_MAX) return false;
    out = Rect{static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
               static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
    return true;
}

// Bar 1 is anchored at its left end, bar 2 at the right end of its box.
bool drawHealthBar(Game& game, const Fighter* fighter, bool anchoredLeft)
{
    const Level& level = *game.level;
    if (!fighter || !level.healthBar) return true;
    Surface& back = *game.backBuffer;
    Surface& bar = *level.healthBar;
    // Never read outside the bar picture, whatever the level says.
    const int width = std::min(level.healthBarWidth, bar.width());
    const int height = std::min(level.healthBarHeight, bar.height());
    return retryRule(game, [&]() -> HRESULT {
        const int length = healthBarLength(width, fighter->health);
        if (length == 0) return DD_OK;  // no bar at all
        const Rect src{0, 0, length, height};
        // Bar positions come from the level file and may be anywhere.
        const std::int64_t x1 = level.bar1X, y1 = level.bar1Y, x2 = level.bar2X, y2 = level.bar2Y;
        Rect dst;
        const bool fits = anchoredLeft
                              ? toRect(x1, y1, x1 + length, y1 + height, dst)
                              : toRect(x2 + width - 1 - length, y2, x2 + width - 1, y2 + height, dst);
        if (!fits) return DDERR_INVALIDRECT;  // as blt answers for any rectangle off the screen
        return back.blt(dst, bar, src, 0, nullptr);
    });
}

}  // namespace

int healthBarLength(int barWidth, double health)
{
    if (barWidth < 2) return 0;
    const double full = static_cast<double>(barWidth - 1);
    const double length = full * health * 0.01;
    if (!(length > 0.0)) return 0;  // also for a health that is not a number
    if (length >= full) return barWidth - 1;
    return static_cast<int>(length);
}

HRESULT drawClipped(Surface& backBuffer, const Level& level, const Image& image, int x, int y,
                    int facing, Rect& out)
{
    const bool mirrored = facing == -1;
    BltFx fx;
    fx.dwDDFX = mirrored ? DDBLTFX_MIRRORLEFTRIGHT : 0;
    // Worked out in 64 bits: the play area and the picture's place come
    // from content files and may lie anywhere in the 32-bit range. A side
    // pushed past that range is kept at its end, which lies outside every
    // surface, so the copy is refused.
    const std::int64_t w = image.width, h = image.height;
    // The picture's last column and row are never drawn.
    std::int64_t srcLeft = 0, srcTop = 0, srcRight = w - 1, srcBottom = h - 1;
    std::int64_t outLeft, outTop, outRight, outBottom;
    const std::int64_t left = level.leftBound;
    const std::int64_t right = level.rightBound;
    const std::int64_t top = level.layerY;
    const std::int64_t bottom = std::int64_t{level.layerY} + level.playHeight;

    // A mirrored copy reverses the source, so a cut on one side of the
    // screen takes columns from the other side of the stored picture.
    if (x < left) {
        const std::int64_t d = left - x;
        outLeft = left;
        if (mirrored)
            srcRight -= d;
        else
            srcLeft = d;
    } else {
        outLeft = x;
    }
    if (y < top) {
        srcTop = top - y;
        outTop = top;
    } else {
        outTop = y;
    }
    if (x + w - 1 > right) {
        const std::int64_t o = x + w - 1 - right;
        outRight = right;
        if (mirrored)
            srcLeft += o;
        else
            srcRight -= o;
    } else {
        outRight = x + w - 1;
    }
    if (y + h - 1 > bottom) {
        const std::int64_t o = y + h - 1 - bottom;
        outBottom = bottom;
        srcBottom -= o;
    } else {
        outBottom = y + h - 1;
    }
    out = Rect{saturate(outLeft), saturate(outTop), saturate(outRight), saturate(outBottom)};
    const Rect src{saturate(srcLeft), saturate(srcTop), saturate(srcRight), saturate(srcBottom)};
    if (!image.surface) return DDERR_INVALIDPARAMS;
    return backBuffer.blt(out, *image.surface, src, DDBLT_KEYSRC | DDBLT_DDFX, &fx);
}

HRESULT draw(Game& game, Fighter& fighter)
{
    if (!fighter.frame || !fighter.frame->image || !game.level || !game.backBuffer)
        return DDERR_INVALIDPARAMS;
    const Frame& frame = *fighter.frame;
    const Image& image = *frame.image;
    const std::int64_t px = std::int64_t{fighter.x} - std::int64_t{frame.hotspotX} * fighter.facing -
                            (fighter.facing == -1 ? image.width : 0);
    const std::int64_t py = std::int64_t{fighter.y} - frame.hotspotY;
    // A picture whose corner lies past the 32-bit range is far off the screen.
    if (px != saturate(px) || py != saturate(py)) return DDERR_INVALIDRECT;
    // A busy blitter is asked again; any other failure leaves the fighter
    // out of this frame (a lost surface is met again by the next step).
    HRESULT r;
    do {
        r = drawClipped(*game.backBuffer, *game.level, image, static_cast<int>(px),
                        static_cast<int>(py), fighter.facing, fighter.screenRect);
    } while (r == DDERR_WASSTILLDRAWING);
    return r;
}

void drawFight(Game& game)
{
    game.currentTime = game.platform.timeGetTime();
    if (game.clearPending && !clearScreen(game)) return;
    if (!game.level || !game.backBuffer || !game.primarySurface) return;
    const Level& level = *game.level;

    // Each step below that fails ends the pass: the frame is not presented
    // and the next pass draws a whole one.
    if (!drawLayer(game, level.background, level.layerX, level.layerY, level.layerRect,
                   DDBLTFAST_NOCOLORKEY))
        return;
    if (!drawLayer(game, level.panel, 0, 0, level.panelRect, DDBLTFAST_NOCOLORKEY)) return;
    if (!drawHealthBar(game, game.fighter1.get(), true)) return;
    if (!drawHealthBar(game, game.fighter2.get(), false)) return;
    if (game.fighter1) draw(game, *game.fighter1);
    if (game.fighter2) draw(game, *game.fighter2);
    if (!game.slowMode && !drawLayer(game, level.foreground, level.layerX, level.layerY,
                                     level.layerRect, DDBLTFAST_SRCCOLORKEY))
        return;
    drawQuote(game, game.currentTime);
    present(game);
}

}  // namespace ib
