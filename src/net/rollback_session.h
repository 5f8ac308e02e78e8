// One online fight as this machine runs it: the local player's inputs go
// in a few steps ahead (the input delay), the other player's are predicted
// by repeating the last one known, and when one arrives that differs from
// what was predicted the fight is put back to the snapshot of that step
// and run forward again to now, without drawing and without sounds.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "fight/fight_step.h"
#include "net/step_bits.h"

namespace ib::net {

constexpr int kDefaultInputDelay = 2;
constexpr int kMaxInputDelay = 4;
// The other player's input is guessed for at most this many steps.
constexpr int kMaxPrediction = 8;
// Steps kept: snapshots and inputs of the steps that may still be run again.
constexpr int kSessionRing = 32;

struct RollbackStats {
    int lastDepth = 0;            // steps run again by the last rollback
    int maxDepth = 0;
    std::int64_t rollbacks = 0;   // rollbacks in all
    std::int64_t stepsRerun = 0;  // steps run again in all
};

class RollbackSession {
public:
    // `start` is the fight as both machines begin it; step 0 ends at
    // stepClock(startClock, 0). The local player is 1 or 2.
    RollbackSession(const FightState& start, const FightRules& rules, std::uint32_t startClock,
                    int localPlayer, int inputDelay);

    // The local player's input, for the step `inputDelay` ahead of the
    // next one to run; returns that step. The first `inputDelay` steps are
    // neutral. Call once before each advance.
    std::int64_t addLocalInput(StepBits in);
    // The other player's input for `step`; inputs must come in order
    // (an older or later one is ignored). Returns whether it was taken.
    bool addRemoteInput(std::int64_t step, StepBits in);

    // The next step can run: its local input is in and the other player's
    // is known or guessed for no more than kMaxPrediction steps.
    bool canAdvance() const;
    // Runs a rollback that is due, then the next step; `sounds` gets its
    // sounds and, when `keepFrame`, frame() becomes the fight as it stood
    // where that step is drawn (a step run again is never drawn and makes
    // no sound).
    void advance(SoundEvents* sounds = nullptr, bool keepFrame = false);
    // Runs a rollback that is due, without a step after it.
    void settle()
    {
        if (rollbackFrom_ >= 0) rollBackTo(rollbackFrom_);
    }
    // Puts the fight back to the snapshot of `step` (no older than the
    // ring) and runs it forward to now at once.
    void rollBackTo(std::int64_t step);

    std::int64_t nextStep() const { return next_; }
    // Steps whose local input is in (the local player's inputs so far).
    std::int64_t localSteps() const { return localNext_; }
    // Steps whose other player's input is known.
    std::int64_t remoteSteps() const { return remoteNext_; }
    StepBits localInput(std::int64_t step) const { return slot(step).inputs[local_ - 1]; }
    // The last step run with both inputs known and no rollback due; -1
    // before any.
    std::int64_t confirmedStep() const;
    // The hash of the fight after a step no later than confirmedStep and
    // still kept.
    std::optional<std::uint64_t> hashAfter(std::int64_t step) const;
    // The fight after a step still kept (nextStep() - 1 is the current one).
    std::optional<FightState> stateAfter(std::int64_t step) const;
    // Both players' inputs of a step still kept, as they were last run.
    StepBitsPair inputsOf(std::int64_t step) const { return slot(step).inputs; }

    const FightState& fight() const { return fight_; }
    // The fight where the last step kept for drawing is drawn, and how
    // many steps were kept so far.
    const FightState& frame() const { return frame_; }
    std::int64_t framesKept() const { return framesKept_; }
    const RollbackStats& stats() const { return stats_; }
    int localPlayer() const { return local_; }
    int inputDelay() const { return delay_; }

    // Called after every step run, the first time and again: (step, fight).
    std::function<void(std::int64_t, const FightState&)> onStepRun;
    // For tests only: gives the clock a step runs at from the step and
    // the clock it should have.
    std::function<std::uint32_t(std::int64_t, std::uint32_t)> clockHook;

private:
    struct Slot {
        std::int64_t step = -1;  // the step the slot holds now
        FightState before;       // the fight before the step
        StepBitsPair inputs{};
        bool remoteKnown = false;
    };
    Slot& slot(std::int64_t step) { return ring_[static_cast<std::size_t>(step % kSessionRing)]; }
    const Slot& slot(std::int64_t step) const { return ring_[static_cast<std::size_t>(step % kSessionRing)]; }
    // The slot of `step`, emptied first when it held an older step.
    Slot& claim(std::int64_t step);
    void runStep(std::int64_t step, SoundEvents* sounds, bool keepFrame);

    FightState fight_;
    FightState frame_;
    std::int64_t framesKept_ = 0;
    FightRules rules_;
    std::uint32_t startClock_;
    int local_;
    int remote_;  // the other player's index, 0 or 1
    int delay_;
    StepBits lastRemote_ = 0;  // the other player's last known input
    std::int64_t next_ = 0;        // the next step to run
    std::int64_t localNext_ = 0;   // local inputs are in for steps before this
    std::int64_t remoteNext_ = 0;  // remote inputs are known for steps before this
    std::int64_t rollbackFrom_ = -1;  // the oldest step to run again, -1 for none
    std::array<Slot, kSessionRing> ring_;
    RollbackStats stats_;
};

}  // namespace ib::net
