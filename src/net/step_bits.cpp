#include "net/step_bits.h"

namespace ib::net {

StepInput stepInputOf(const StepBitsPair& before, const StepBitsPair& now)
{
    StepInput in;
    for (int player = 1; player <= 2; ++player) {
        const StepBits was = before[player - 1], is = now[player - 1];
        for (int b = 0; b < kStepButtons; ++b) {
            const auto bit = static_cast<StepBits>(1u << b);
            if ((was & bit) == (is & bit)) continue;
            if (is & bit) in.press(player, static_cast<PlayerButton>(b));
            else in.release(player, static_cast<PlayerButton>(b));
        }
    }
    return in;
}

StepBits withPlayer1Key(std::span<const KeyBinding> table, StepBits in, int virtualKey, bool down)
{
    for (const KeyBinding& k : table) {
        if (k.player != 1 || k.virtualKey != virtualKey) continue;
        const StepBits bit = buttonBit(k.button);
        return down ? static_cast<StepBits>(in | bit) : static_cast<StepBits>(in & ~bit);
    }
    return in;
}

}  // namespace ib::net
