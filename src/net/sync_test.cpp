#include "net/sync_test.h"

#include <array>

#include "net/rollback_session.h"

namespace ib::net {

namespace {

// Inputs that change now and then, as a player's do: each step a button
// is pressed or let go with a chance of one in five.
class RandomInputs {
public:
    explicit RandomInputs(std::uint32_t seed) : state_(seed * 2654435761u + 1) {}
    StepBits next(StepBits held)
    {
        const std::uint32_t r = draw();
        if (r % 5 != 0) return held;
        return static_cast<StepBits>(held ^ (1u << ((r >> 8) % kStepButtons)));
    }

private:
    std::uint32_t draw()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    std::uint32_t state_;
};

}  // namespace

SyncTestResult runSyncTest(const FightState& start, const FightRules& rules, const SyncTestOptions& opts)
{
    SyncTestResult result;
    RandomInputs random(opts.seed);
    StepBitsPair held{};
    while (result.steps < opts.steps && !result.mismatch) {
        ++result.fights;
        const std::int64_t offset = result.steps;
        RollbackSession session(start, rules, opts.startClock, 1, 0);
        if (opts.clockHook)
            session.clockHook = [&](std::int64_t step, std::uint32_t clock) {
                return opts.clockHook(offset + step, clock);
            };
        std::array<std::uint64_t, kSessionRing> firstHash{};
        session.onStepRun = [&](std::int64_t step, const FightState& fight) {
            const std::uint64_t h = hashFight(fight);
            if (step == session.nextStep())
                firstHash[static_cast<std::size_t>(step % kSessionRing)] = h;
            else if (h != firstHash[static_cast<std::size_t>(step % kSessionRing)] && !result.mismatch)
                result.mismatch = offset + step;
        };
        while (result.steps < opts.steps && !result.mismatch &&
               session.fight().gameState == GameState::Fight) {
            held = {random.next(held[0]), random.next(held[1])};
            session.addLocalInput(held[0]);
            session.addRemoteInput(session.nextStep(), held[1]);
            session.advance();
            ++result.steps;
            session.rollBackTo(session.nextStep() - opts.rollback);
        }
        held = {};
    }
    return result;
}

}  // namespace ib::net
