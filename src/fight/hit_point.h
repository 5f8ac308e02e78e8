// Where on screen one fighter's strike meets the other's body.
#pragma once

#include <cstdint>

#include "fight/fighter.h"

namespace ib {

// The first screen pixel, in the hit scan's order, where one fighter's
// strike meets the other's body; false when there is none.
bool findHitPixel(const Fighter& f1, const Fighter& f2, std::int32_t& x, std::int32_t& y);

}  // namespace ib
