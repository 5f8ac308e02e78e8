// The check that the fight step is pure: every step, roll the fight back
// a number of steps and run them again with the same inputs, comparing
// each step's hash with the one it had the first time.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "fight/fight_step.h"

namespace ib::net {

struct SyncTestOptions {
    int rollback = 8;            // steps run again after every step
    std::int64_t steps = 100000;
    std::uint32_t seed = 1;      // of the random inputs of both players
    std::uint32_t startClock = 1000;
    // For tests only: the clock a step runs at, from the step (counted over
    // the whole run) and the clock it should have.
    std::function<std::uint32_t(std::int64_t, std::uint32_t)> clockHook;
};

struct SyncTestResult {
    std::int64_t steps = 0;   // steps run (the first time)
    int fights = 0;           // fights begun (a fight over begins a new one)
    std::optional<std::int64_t> mismatch;  // the first step run again differently
};

// Runs fights from `start` with random inputs of both players.
SyncTestResult runSyncTest(const FightState& start, const FightRules& rules, const SyncTestOptions& opts);

}  // namespace ib::net
