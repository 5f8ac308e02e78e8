#include "net/step_input.h"

namespace ib::net {

void applyStepInputs(FightState& fight, const StepInputs& before, const StepInputs& now)
{
    for (int player = 1; player <= 2; ++player) {
        Fighter* f = fight.fighter(player);
        const StepInput was = before[player - 1], is = now[player - 1];
        if (!f || was == is) continue;
        for (int b = 0; b < kStepButtons; ++b) {
            const auto bit = static_cast<StepInput>(1u << b);
            if ((was & bit) == (is & bit)) continue;
            if (is & bit)
                pressButton(*f, static_cast<PlayerButton>(b), fight.currentTime);
            else
                releaseButton(*f, static_cast<PlayerButton>(b), fight.currentTime);
        }
    }
}

StepInput withPlayer1Key(std::span<const KeyBinding> table, StepInput in, int virtualKey, bool down)
{
    for (const KeyBinding& k : table) {
        if (k.player != 1 || k.virtualKey != virtualKey) continue;
        const StepInput bit = buttonBit(k.button);
        return down ? static_cast<StepInput>(in | bit) : static_cast<StepInput>(in & ~bit);
    }
    return in;
}

}  // namespace ib::net
