// Opening the display, presenting frames and the retry rule every copy to
// the back buffer and every flip goes through.
#pragma once

#include "platform/display_types.h"

namespace ib {

struct Game;
struct Screen;
struct PixelTarget;
class Surface;

// Opens the window and the display, clears both pages, then runs
// setUpGame. 0 on success, else the failing step's code (the error box has
// been shown).
HRESULT initDisplay(Game& game);
// Flips the back buffer to the front under the retry rule; true when done.
bool present(Screen& screen);
void releaseDisplay(Game& game);

// The retry rule: issue op; on still-drawing issue it again, on a lost
// surface restore everything and give the step up for this pass. True only
// when op answered DD_OK.
template <class Op>
bool retryRule(Screen& screen, Op&& op);
HRESULT restoreAfterLoss(Screen& screen);
// Locks the surface and makes it a target for the overlays' pixels; the
// caller unlocks it. False when the lock is refused.
bool lockAsTarget(Surface& surface, PixelTarget& target);

template <class Op>
bool retryRule(Screen& screen, Op&& op)
{
    for (;;) {
        HRESULT r = op();
        if (r == DD_OK) return true;
        if (r == DDERR_WASSTILLDRAWING) continue;
        if (r == DDERR_SURFACELOST) restoreAfterLoss(screen);
        return false;
    }
}

}  // namespace ib
