// The online fight's rollback: 8 steps run again, as a late input makes
// it (the snapshot and restore alone: BM_SnapshotRestore).
#include <benchmark/benchmark.h>

#include "bench_game.h"
#include "net/rollback_session.h"

namespace {

using namespace ib;
using namespace ib::bench;

// A session 60 steps into a fight in which both players walk in and punch.
std::unique_ptr<net::RollbackSession> busySession(const Game& game)
{
    FightState start = game.fight;
    start.gameState = GameState::Fight;
    start.currentTime = 1000;
    auto s = std::make_unique<net::RollbackSession>(start, fightRules(game), 1000, 1, 0);
    for (int step = 0; step < 60; ++step) {
        const auto walk = net::buttonBit(PlayerButton::Right);
        const auto punch = step % 10 < 3 ? net::buttonBit(PlayerButton::Attack) : net::StepBits{0};
        s->addLocalInput(static_cast<net::StepBits>(walk | punch));
        s->addRemoteInput(step, static_cast<net::StepBits>(net::buttonBit(PlayerButton::Left) | punch));
        s->advance();
    }
    return s;
}

void BM_RollbackEightSteps(benchmark::State& state)
{
    DefaultFight fight(false);
    if (!fight.opened) return state.SkipWithError("the default content did not load");
    auto session = busySession(fight.game);
    for (auto _ : state) {
        session->rollBackTo(session->nextStep() - 8);
        benchmark::DoNotOptimize(session->fight().currentTime);
    }
    state.counters["depth"] = session->stats().lastDepth;
}
BENCHMARK(BM_RollbackEightSteps)->Unit(benchmark::kMicrosecond);

}  // namespace
