// What a match shows over the fight: the round timer between the health
// bars, the rounds won as ink blots under each bar, the banners and the
// pause and rematch menus.
#pragma once

#include "fight/fight_state.h"

namespace ib {

struct Content;
struct Screen;

// Drawn over the composed frame before it is presented; nothing outside a
// match.
void drawMatchOverlays(Screen& screen, const Content& content, const FightState& fight);

}  // namespace ib
