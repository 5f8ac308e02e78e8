#include "app/fight_screen.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/display.h"
#include "app/game.h"
#include "app/notice.h"
#include "app/quotes.h"
#include "graphics/render.h"

namespace ib {

namespace {

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

// The level's play area, where fighters are drawn.
PlayArea playArea(const Level& level)
{
    return PlayArea{level.leftBound, level.rightBound, level.layerY, level.playHeight};
}

}  // namespace

HRESULT draw(Game& game, const Fighter& fighter, Rect& screenRect)
{
    if (!fighter.frame || !fighter.frame->image || !game.level || !game.backBuffer)
        return DDERR_INVALIDPARAMS;
    const Frame& frame = *fighter.frame;
    const Image& image = *frame.image;
    const std::int64_t px = std::int64_t{fighter.x} - std::int64_t{frame.hotspotX} * fighter.facing -
                            (fighter.facing == -1 ? image.width : 0);
    const std::int64_t py = std::int64_t{fighter.y} - frame.hotspotY;
    // A picture whose corner lies past the 32-bit range is far off the screen.
    if (px != saturateToInt32(px) || py != saturateToInt32(py)) return DDERR_INVALIDRECT;
    // A busy blitter is asked again; any other failure leaves the fighter
    // out of this frame (a lost surface is met again by the next step).
    HRESULT r;
    do {
        r = drawClipped(*game.backBuffer, playArea(*game.level), image, static_cast<int>(px),
                        static_cast<int>(py), fighter.facing, screenRect);
    } while (r == DDERR_WASSTILLDRAWING);
    return r;
}

bool composeFight(Game& game, const FightState& fight)
{
    if (game.clearPending && !clearScreen(game)) return false;
    if (!game.level || !game.backBuffer || !game.primarySurface) return false;
    const Level& level = *game.level;
    const Fighter* f1 = fight.fighter(1);
    const Fighter* f2 = fight.fighter(2);

    // Each step below that fails ends the frame: it is not presented and
    // the next pass draws a whole one.
    if (!drawLayer(game, level.background, level.layerX, level.layerY, level.layerRect,
                   DDBLTFAST_NOCOLORKEY))
        return false;
    if (!drawLayer(game, level.panel, 0, 0, level.panelRect, DDBLTFAST_NOCOLORKEY)) return false;
    if (!drawHealthBar(game, f1, true)) return false;
    if (!drawHealthBar(game, f2, false)) return false;
    if (f1) draw(game, *f1, game.screenRect[0]);
    if (f2) draw(game, *f2, game.screenRect[1]);
    if (!game.slowMode && !drawLayer(game, level.foreground, level.layerX, level.layerY,
                                     level.layerRect, DDBLTFAST_SRCCOLORKEY))
        return false;
    drawQuote(game, fight);
    return true;
}

bool drawFight(Game& game, const FightState& fight)
{
    if (!composeFight(game, fight)) return false;
    // Over the finished frame: the fight's own pictures never hold it.
    drawNotice(game);
    present(game);
    return true;
}

}  // namespace ib
