// What a player holds during one step of an online fight: one bit per
// button, the same on both machines, and how a change of it becomes the
// presses and releases of the fighter's buttons.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "fight/buttons.h"
#include "fight/step_input.h"
#include "input/key_bindings.h"

namespace ib::net {

using StepBits = std::uint8_t;
constexpr int kStepButtons = 6;  // Left, Right, Up, Down, Attack, Block
constexpr StepBits kAllButtons = (1u << kStepButtons) - 1;

constexpr StepBits buttonBit(PlayerButton b) { return static_cast<StepBits>(1u << static_cast<int>(b)); }

// The clock of the end of step `step` (counted from 0) of a fight that
// began at `start`: 60 steps a second, advancing 16, 17, 17, 16, ...
constexpr std::uint32_t stepClock(std::uint32_t start, std::int64_t step)
{
    return start + static_cast<std::uint32_t>(((step + 1) * 1000) / 60);
}

// Both players' inputs of a step, player 1 first.
using StepBitsPair = std::array<StepBits, 2>;

// The step's record of what changed from `before` to `now`: player 1's
// buttons first, then player 2's, each in button order.
StepInput stepInputOf(const StepBitsPair& before, const StepBitsPair& now);

// The input with the key `virtualKey` held or let go, read as player 1's
// in `table`; keys that are not player 1's change nothing.
StepBits withPlayer1Key(std::span<const KeyBinding> table, StepBits in, int virtualKey, bool down);

}  // namespace ib::net
