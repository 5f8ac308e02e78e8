// The computer's hands: the presses and releases it makes on its fighter.
#pragma once

#include <cstdint>

#include "fight/fighter.h"
#include "fight/move_knowledge.h"

namespace ib {

// Holds exactly the codes of `want` (releases first, then presses, each
// ascending); nothing happens when they are held already.
void holdOnly(Fighter& fighter, std::uint32_t wantBits, std::uint32_t t);

// Lets go of everything, then makes the move's presses and releases; a
// move that does not last is let go of at once.
void startMove(Fighter& me, const KnownMove& m, std::uint32_t t);

}  // namespace ib
