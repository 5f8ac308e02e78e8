// How fast a move is, read from its Animation, and who can act first after
// a hit: training's frame data.
#pragma once

#include <cstdint>

#include "fight/fighter.h"

namespace ib {

// In ms: from the move's start to its first frame that can strike, the
// time its striking frames show, and the rest of the Animation.
struct MoveTiming {
    bool strikes = false;
    std::int32_t startup = 0;
    std::int32_t active = 0;
    std::int32_t recovery = 0;
};

MoveTiming moveTiming(const Move& move);

// ms as frames of 1/60 s, to the nearest.
std::int32_t framesOf(std::int32_t ms);

// When the fighter can next act: the end of its move, and of the move
// waiting after it (a looping move can be left at once).
std::uint32_t freeAt(const Fighter& fighter);

}  // namespace ib
