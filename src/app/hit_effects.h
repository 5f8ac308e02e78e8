// What a landed hit looks like, drawn over the composed fight from the
// fight's state, which it only reads: the spark where the strike met the
// body (another for a block), the struck fighter's flash, the shake of a
// knock-out or a heavy strike, and the combo counters.
#pragma once

#include "fight/fight_state.h"

namespace ib {

struct Screen;

// Nothing in the quick fight, where none of it is ever set.
void drawHitEffects(Screen& screen, const FightState& fight);

}  // namespace ib
