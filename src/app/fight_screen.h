// The fight screen: one frame of the fight drawn into the back buffer from
// the fight's state, which it only reads.
#pragma once

#include "fight/fight_state.h"
#include "platform/display_types.h"

namespace ib {

struct Content;
struct Screen;

// Draws the whole scene into the back buffer; false when a step failed and
// the frame is to be dropped (it is then not presented). True exactly when
// the drawing reached the quote, the last step.
bool composeFight(Screen& screen, const Content& content, const FightState& fight);
// composeFight, then the notice line over it, then present the frame when
// it is whole; answers as composeFight.
bool drawFight(Screen& screen, const Content& content, const FightState& fight);
// Draws the fighter's current frame (in the second colour: player 2 against
// the same fighter); screenRect receives where.
HRESULT draw(Screen& screen, const Content& content, const Fighter& fighter, Rect& screenRect,
             bool secondColoured = false);

}  // namespace ib
