#include "net/rollback_session.h"

#include <algorithm>

namespace ib::net {

namespace {

// Inputs are taken no further ahead of the next step than this, so that a
// slot is never reused while its step may still be run again.
constexpr std::int64_t kMaxAhead = kSessionRing - kMaxPrediction - 2;

}  // namespace

RollbackSession::RollbackSession(const FightState& start, const FightRules& rules,
                                 std::uint32_t startClock, int localPlayer, int inputDelay)
    : fight_(start), rules_(rules), startClock_(startClock), local_(localPlayer == 2 ? 2 : 1),
      remote_(localPlayer == 2 ? 0 : 1), delay_(std::clamp(inputDelay, 0, kMaxInputDelay))
{
    for (int s = 0; s < delay_; ++s) claim(s);
    localNext_ = delay_;
}

RollbackSession::Slot& RollbackSession::claim(std::int64_t step)
{
    Slot& s = slot(step);
    if (s.step != step) {
        s.step = step;
        s.inputs = {};
        s.remoteKnown = false;
    }
    return s;
}

std::int64_t RollbackSession::addLocalInput(StepBits in)
{
    const std::int64_t step = localNext_;
    if (step - next_ >= kMaxAhead) return -1;
    claim(step).inputs[local_ - 1] = in;
    ++localNext_;
    return step;
}

bool RollbackSession::addRemoteInput(std::int64_t step, StepBits in)
{
    if (step != remoteNext_ || step - next_ >= kMaxAhead) return false;
    Slot& s = claim(step);
    if (step < next_ && s.inputs[remote_] != in)
        rollbackFrom_ = rollbackFrom_ < 0 ? step : std::min(rollbackFrom_, step);
    s.inputs[remote_] = in;
    s.remoteKnown = true;
    lastRemote_ = in;
    ++remoteNext_;
    return true;
}

bool RollbackSession::canAdvance() const
{
    return localNext_ > next_ && next_ < remoteNext_ + kMaxPrediction;
}

void RollbackSession::runStep(std::int64_t step, SoundEvents* sounds, bool keepFrame)
{
    Slot& s = claim(step);
    if (!s.remoteKnown) s.inputs[remote_] = lastRemote_;
    s.before = fight_;
    const StepBitsPair before = step > 0 ? slot(step - 1).inputs : StepBitsPair{};
    std::uint32_t clock = stepClock(startClock_, step);
    if (clockHook) clock = clockHook(step, clock);
    const StepMark mark = beginFightStep(fight_, rules_, clock, stepInputOf(before, s.inputs), sounds);
    if (keepFrame) {
        frame_ = fight_;
        ++framesKept_;
    }
    finishFightStep(fight_, rules_, mark, true, sounds);
    if (onStepRun) onStepRun(step, fight_);
}

void RollbackSession::advance(SoundEvents* sounds, bool keepFrame)
{
    if (rollbackFrom_ >= 0) rollBackTo(rollbackFrom_);
    runStep(next_, sounds, keepFrame);
    ++next_;
}

void RollbackSession::rollBackTo(std::int64_t step)
{
    rollbackFrom_ = -1;
    step = std::max(step, next_ - (kSessionRing - 1));
    if (step < 0 || step >= next_ || slot(step).step != step) return;
    fight_ = slot(step).before;
    for (std::int64_t s = step; s < next_; ++s) runStep(s, nullptr, false);
    const int depth = static_cast<int>(next_ - step);
    stats_.lastDepth = depth;
    stats_.maxDepth = std::max(stats_.maxDepth, depth);
    ++stats_.rollbacks;
    stats_.stepsRerun += depth;
}

std::int64_t RollbackSession::confirmedStep() const
{
    std::int64_t last = std::min(remoteNext_, next_) - 1;
    if (rollbackFrom_ >= 0) last = std::min(last, rollbackFrom_ - 1);
    return last;
}

std::optional<FightState> RollbackSession::stateAfter(std::int64_t step) const
{
    if (step == next_ - 1) return fight_;
    if (step < 0 || step + 1 >= next_ || slot(step + 1).step != step + 1) return std::nullopt;
    return slot(step + 1).before;
}

std::optional<std::uint64_t> RollbackSession::hashAfter(std::int64_t step) const
{
    if (step > confirmedStep()) return std::nullopt;
    const std::optional<FightState> state = stateAfter(step);
    if (!state) return std::nullopt;
    return hashFight(*state);
}

}  // namespace ib::net
