// The computer's attacks in the air: a jump made to strike from its top,
// and the strike once it would land.
#pragma once

#include <cstdint>

#include "fight/fight_state.h"
#include "fight/move_knowledge.h"

namespace ib {

// Whether attack `a` (one made in the air) would land from the top of a
// jump made where `me` stands.
bool landsFromJumpTop(const MoveKnowledge& own, int a, const Fighter& me, int player, const Fighter& opp);
// Jumps to make `a` in the air: the mind's plan is `jumpPlan` until the
// jump comes down, and `a` its latest attack.
void jumpToStrike(ComputerMind& mind, std::int32_t jumpPlan, Fighter& me, const MoveKnowledge& own, int a,
                  std::uint32_t t);
// During such a jump: makes the attack once in the air and it would land;
// true when made.
bool strikeFromTheAir(const ComputerMind& mind, Fighter& me, int player, const Fighter& opp,
                      const MoveKnowledge& own, std::uint32_t t);

}  // namespace ib
