// Training's own rules: nobody is knocked out, health refills a second
// after the last hit, the fighters can be put back at their start, and the
// place of the last hit is kept for the hit-mask overlay.
#pragma once

#include <cstddef>

#include "fight/fight_state.h"

namespace ib {

constexpr double kTrainingMinHealth = 1.0;
constexpr std::uint32_t kRefillDelayMs = 1000;

// After the pass's hits, given each fighter's history length before them
// (a hit adds two snapshots): notes a new hit, and refills both fighters'
// health once the last hit is kRefillDelayMs old.
void afterTrainingHits(FightState& fight, std::size_t history1Before, std::size_t history2Before);

// Both fighters anew at their start positions, in their default moves,
// starting at the fight's currentTime.
void resetFighters(FightState& fight, const Level& level);

}  // namespace ib
