// Outside the quick fight a fighter in the air stays on its jump's path:
// a move that cuts into the jump (an attack made in the air, a move its
// Character plays on a knock-out) plays while the jump's frames still
// carry the fighter up and down, and the fighter lands where the jump
// would have. Without it a fighter whose jump was cut into would stay at
// the height it had reached.
#pragma once

#include <cstdint>

#include "fight/fighter.h"

namespace ib {

// Whether the move's frames take the fighter off the ground and back: a
// move that plays once and steps up or down.
bool liftsFighter(const Move& move);
// Whether the move is made in the air: one of its steps holds Air.
bool madeInAir(const Move* move);

// Called as a move is cut into: a fighter in the air whose current move
// lifts it goes on along that move's path.
void takeOff(Fighter& fighter);

// The animation step of a fighter in a fight with flights (the quick
// fight's, plus the jump's path): a move made in the air ends when the
// fighter lands, and when a move ends in the air with nothing waiting the
// jump shows again. `ground` is the y the fighters stand on.
void flyStep(Fighter& fighter, std::uint32_t t, std::int32_t ground);

}  // namespace ib
