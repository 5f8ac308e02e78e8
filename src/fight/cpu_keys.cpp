#include "fight/cpu_keys.h"

#include <bit>

#include "fight/buttons.h"

namespace ib {

void holdOnly(Fighter& fighter, std::uint32_t want, std::uint32_t t)
{
    const std::uint32_t held = fighter.held.bits();
    if (held == want) return;
    for (std::uint32_t b = held & ~want; b != 0; b &= b - 1) releaseButton(fighter, std::countr_zero(b), t);
    for (std::uint32_t b = want & ~held; b != 0; b &= b - 1) pressButton(fighter, std::countr_zero(b), t);
}

void startMove(Fighter& me, const KnownMove& m, std::uint32_t t)
{
    holdOnly(me, 0, t);
    for (const KeyAction& k : m.keys) {
        if (k.press) pressButton(me, k.code, t);
        else releaseButton(me, k.code, t);
    }
    if (!m.loops) holdOnly(me, 0, t);
}

}  // namespace ib
