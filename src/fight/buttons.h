// A player's buttons as every source gives them (keyboard, later pads, the
// computer, a replay): the directions on the screen, attack and block. The
// fighter holds them as button codes, left and right turned into Forward
// and Back by the way it faces.
#pragma once

#include <cstdint>

#include "fight/fighter.h"

namespace ib {

enum class PlayerButton : int { Left, Right, Up, Down, Attack, Block };

// The button code the fighter holds for b.
int buttonCode(const Fighter& fighter, PlayerButton b);

// Presses a button code at time t: held set, input history (kept to its
// last ten entries) and move recognition. False, and nothing changes, when
// the code is already held (a key's repeat).
bool pressButton(Fighter& fighter, int code, std::uint32_t t);
// Releases a button code at time t; a code not held still records a
// snapshot.
void releaseButton(Fighter& fighter, int code, std::uint32_t t);

inline bool pressButton(Fighter& fighter, PlayerButton b, std::uint32_t t)
{
    return pressButton(fighter, buttonCode(fighter, b), t);
}
inline void releaseButton(Fighter& fighter, PlayerButton b, std::uint32_t t)
{
    releaseButton(fighter, buttonCode(fighter, b), t);
}

}  // namespace ib
