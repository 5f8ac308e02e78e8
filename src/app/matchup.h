// Who fights where: the two fighters and the stage of the next fight. The
// quick fight is rook v quill on the desert, as the game starts; the select
// screen and "--p1", "--p2", "--stage" put others in their place.
#pragma once

#include <string>

#include "content/content.h"
#include "fight/fight_state.h"

namespace ib {

struct Game;

// Puts c1 (player 1) and c2 on the stage for the next fight: the level the
// fight is on, what the computer knows of each, their Moves' sounds, and
// fresh fighters.
void useMatchup(Game& game, const Character& c1, const Character& c2, const Level& stage);
// The fighters and stage the command line named, each left as the game
// started when not named; the game's start when none was. Empty when they
// are there, else what is wrong, with what there is to choose.
std::string useNamedMatchup(Game& game);
// For the quick fight: the named matchup when there is one, else the
// game's start again if another fight changed it.
void useQuickMatchup(Game& game);
// The game's start again (rook v quill on the desert) if a fight changed it:
// what both sides of an online fight begin from.
void useStartMatchup(Game& game);
// The game's start again and the fight as start-up makes it (fresh
// fighters, nothing else played): what both sides of an online fight, and
// one watching it, begin from.
FightState startOfOnlineFight(Game& game);

}  // namespace ib
