#include "app/fight_screen.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/display.h"
#include "app/game_content.h"
#include "app/hit_effects.h"
#include "app/name_tags.h"
#include "app/screen.h"
#include "app/notice.h"
#include "app/quotes.h"
#include "graphics/render.h"
#include "graphics/second_colour.h"

namespace ib {

namespace {

// Paints both pages black, once per run, through a black scratch picture.
// False when the scratch picture cannot be made: the pass then draws
// nothing and the next one tries again.
bool clearScreen(Screen& screen)
{
    if (!screen.directDraw) return false;
    std::shared_ptr<Surface> black;
    if (screen.directDraw->createSurface(kScreenWidth, kScreenHeight, black) != DD_OK) return false;
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
    if (screen.backBuffer) screen.backBuffer->bltFast(0, 0, *black, whole, DDBLTFAST_NOCOLORKEY);
    if (screen.primarySurface) screen.primarySurface->bltFast(0, 0, *black, whole, DDBLTFAST_NOCOLORKEY);
    screen.clearPending = false;
    return true;
}

// A layer copied to a fixed place under the retry rule. A level without the
// picture has nothing to show there: the step is left out and the frame
// goes on. False only when the copy itself failed.
bool drawLayer(Screen& screen, const std::shared_ptr<Surface>& picture, int x, int y, const Rect& src,
               std::uint32_t trans)
{
    if (!picture) return true;
    Surface& back = *screen.backBuffer;
    Surface& pic = *picture;
    return retryRule(screen, [&] { return back.bltFast(x, y, pic, src, trans); });
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
bool drawHealthBar(Screen& screen, const Content& content, const Fighter* fighter, bool anchoredLeft)
{
    const Level& level = *content.level;
    if (!fighter || !level.healthBar) return true;
    Surface& back = *screen.backBuffer;
    Surface& bar = *level.healthBar;
    // Never read outside the bar picture, whatever the level says.
    const int width = std::min(level.healthBarWidth, bar.width());
    const int height = std::min(level.healthBarHeight, bar.height());
    return retryRule(screen, [&]() -> HRESULT {
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

// The picture in the second colour, made when first drawn and again after
// the display lost it; the picture itself when none can be made.
Image inSecondColour(Screen& screen, const Image& image)
{
    Image shown = image;
    if (!image.surface || !screen.directDraw) return shown;
    std::shared_ptr<Surface>& copy = screen.secondColours[image.surface.get()];
    if (!copy || copy->isLost()) copy = secondColour(*screen.directDraw, *image.surface);
    if (copy) shown.surface = copy;
    return shown;
}

}  // namespace

HRESULT draw(Screen& screen, const Content& content, const Fighter& fighter, Rect& screenRect, bool secondColoured)
{
    if (!fighter.frame || !fighter.frame->image || !content.level || !screen.backBuffer)
        return DDERR_INVALIDPARAMS;
    const Frame& frame = *fighter.frame;
    Image coloured;
    const Image& image = secondColoured ? (coloured = inSecondColour(screen, *frame.image)) : *frame.image;
    const std::int64_t px = std::int64_t{fighter.x} - std::int64_t{frame.hotspotX} * fighter.facing -
                            (fighter.facing == -1 ? image.width : 0);
    const std::int64_t py = std::int64_t{fighter.y} - frame.hotspotY;
    // A picture whose corner lies past the 32-bit range is far off the screen.
    if (px != saturateToInt32(px) || py != saturateToInt32(py)) return DDERR_INVALIDRECT;
    // A busy blitter is asked again; any other failure leaves the fighter
    // out of this frame (a lost surface is met again by the next step).
    HRESULT r;
    do {
        r = drawClipped(*screen.backBuffer, playArea(*content.level), image, static_cast<int>(px),
                        static_cast<int>(py), fighter.facing, screenRect);
    } while (r == DDERR_WASSTILLDRAWING);
    return r;
}

bool composeFight(Screen& screen, const Content& content, const FightState& fight)
{
    if (screen.clearPending && !clearScreen(screen)) return false;
    if (!content.level || !screen.backBuffer || !screen.primarySurface) return false;
    const Level& level = *content.level;
    const Fighter* f1 = fight.fighter(1);
    const Fighter* f2 = fight.fighter(2);

    // Each step below that fails ends the frame: it is not presented and
    // the next pass draws a whole one.
    if (!drawLayer(screen, level.background, level.layerX, level.layerY, level.layerRect,
                   DDBLTFAST_NOCOLORKEY))
        return false;
    if (!drawLayer(screen, level.panel, 0, 0, level.panelRect, DDBLTFAST_NOCOLORKEY)) return false;
    if (!drawHealthBar(screen, content, f1, true)) return false;
    if (!drawHealthBar(screen, content, f2, false)) return false;
    drawNameTags(screen, content, fight);
    if (f1) draw(screen, content, *f1, screen.screenRect[0]);
    // A fighter against itself: player 2 in the second colour.
    if (f2) draw(screen, content, *f2, screen.screenRect[1], f1 && f1->character == f2->character);
    if (!screen.slowMode && !drawLayer(screen, level.foreground, level.layerX, level.layerY,
                                     level.layerRect, DDBLTFAST_SRCCOLORKEY))
        return false;
    drawHitEffects(screen, fight);
    drawQuote(screen, content, fight);
    return true;
}

bool drawFight(Screen& screen, const Content& content, const FightState& fight)
{
    if (!composeFight(screen, content, fight)) return false;
    // Over the finished frame: the fight's own pictures never hold it.
    drawNotice(screen);
    present(screen);
    return true;
}

}  // namespace ib
