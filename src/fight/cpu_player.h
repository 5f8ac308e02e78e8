// The computer as a button source: it presses and releases its player's
// buttons as a person at the keyboard would, seeing only what a person sees
// (both fighters' places, facings, health, moves and frames) and knowing its
// own Character's moves. Its random numbers come from the fight's state, so
// the same fight and the same key messages make the same computer.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/cpu_keys.h"
#include "fight/cpu_style.h"
#include "fight/move_knowledge.h"

namespace ib {

// One pass of a computer player (1 or 2) of the given level at the fight's
// currentTime. `own` is what it knows of its Character, `other` of the
// opponent's (the moves it can watch being played).
void playComputer(FightState& fight, int player, int level, const MoveKnowledge& own,
                  const MoveKnowledge& other);

}  // namespace ib
