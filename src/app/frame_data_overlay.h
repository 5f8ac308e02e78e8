// Training's frame data (F9): for each fighter's last move that can
// strike, its start-up, active time and recovery, and after a hit or a
// block who can act first and by how much, in frames of 1/60 s and in ms.
#pragma once

#include "fight/fight_state.h"
#include "graphics/tiny_font.h"

namespace ib {

struct Screen;

void drawFrameData(Screen& screen, const PixelTarget& target, const FightState& fight);

}  // namespace ib
