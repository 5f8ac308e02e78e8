// Training's overlays, drawn over a composed frame before it is presented
// (never into the fight's pictures): the hit masks (F5), the input display
// (F6), and a line saying what the dummy does.
#pragma once

#include "fight/fight_state.h"

namespace ib {

struct Content;
struct Screen;

// Does nothing outside training.
void drawTrainingOverlays(Screen& screen, const FightState& fight);

}  // namespace ib
