// The fight on the default content: a whole pass of the main loop, and the
// drawing alone.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bench_game.h"
#include "fight/match_rules.h"

namespace {

using namespace ib;
using namespace ib::bench;

double percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(at), v.end());
    return v[at];
}

// Pass after pass of the scripted fight, from the first pass to 5 s after
// the knock-out, then again with a fresh game (set up outside the timing).
// Besides the mean, the median and the 99th percentile of single passes.
// The scripted fight as the quick fight plays it (argument 0); with every
// hit's hit-stop, spark, flash, shake and combo (1: two people playing
// alone, as against the computer with nobody left to the computer); or as
// a one-round match (2: the same, and the match's timer and banners).
std::unique_ptr<DefaultFight> benchFight(int variant)
{
    auto fight = std::make_unique<DefaultFight>();
    if (variant == 1) fight->game.fight.mode = PlayMode::VersusComputer;
    if (variant == 2) startMatch(fight->game.fight, 1, 0);
    return fight;
}

bool benchFightOver(const DefaultFight& fight)
{
    return fight.over() || fight.game.fight.match.matchWinner >= 0;
}

void BM_FightPass(benchmark::State& state)
{
    const int variant = static_cast<int>(state.range(0));
    auto fight = benchFight(variant);
    if (!fight->opened) return state.SkipWithError("the default content did not load");
    std::vector<double> passUs;
    passUs.reserve(1 << 16);
    long long fights = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        fight->pass();
        passUs.push_back(std::chrono::duration<double, std::micro>(
                             std::chrono::steady_clock::now() - start).count());
        if (benchFightOver(*fight)) {
            state.PauseTiming();
            ++fights;
            fight = benchFight(variant);
            state.ResumeTiming();
        }
    }
    state.counters["pass_p50_us"] = percentile(passUs, 0.5);
    state.counters["pass_p99_us"] = percentile(passUs, 0.99);
    state.counters["fights_ended"] = static_cast<double>(fights);
}
BENCHMARK(BM_FightPass)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// drawFight alone, the fighters standing face to face; argument 1 adds a
// two-line quote over quill (its box is drawn on the first frame and
// copied on the others, as in the game).
void BM_DrawFight(benchmark::State& state)
{
    DefaultFight fight(false);
    if (!fight.opened) return state.SkipWithError("the default content did not load");
    Game& g = fight.game;
    fight.pass();
    g.fight.fighter1->x = g.fight.fighter2->x - 120;
    fight.pass();
    if (state.range(0) == 1) {
        g.content.quoteBook.push_back("Ink never dries.\nBlot out!");
        g.fight.activeQuote = {g.fight.currentTime, static_cast<std::int32_t>(g.content.quoteBook.size() - 1), 2};
    }
    const int before = fight.platform.framesPresented();
    for (auto _ : state) drawFight(g.screen, g.content, g.fight);
    if (fight.platform.framesPresented() - before != static_cast<int>(state.iterations()))
        state.SkipWithError("a frame was not presented");
}
BENCHMARK(BM_DrawFight)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// A fight in the middle: fighters with moves, frames and a full history.
std::unique_ptr<DefaultFight> midFight()
{
    auto fight = std::make_unique<DefaultFight>();
    for (int i = 0; i < 400 && fight->opened; ++i) fight->pass();
    return fight;
}

// Taking a snapshot of the fight and restoring it, as rollback does.
void BM_SnapshotRestore(benchmark::State& state)
{
    auto fight = midFight();
    if (!fight->opened) return state.SkipWithError("the default content did not load");
    FightState& live = fight->game.fight;
    for (auto _ : state) {
        FightState snapshot = live;
        benchmark::DoNotOptimize(snapshot);
        live = snapshot;
        benchmark::ClobberMemory();
    }
    state.counters["history"] = static_cast<double>(live.fighter1->history.size());
}
BENCHMARK(BM_SnapshotRestore)->Unit(benchmark::kMicrosecond);

void BM_HashFight(benchmark::State& state)
{
    auto fight = midFight();
    if (!fight->opened) return state.SkipWithError("the default content did not load");
    for (auto _ : state) benchmark::DoNotOptimize(hashFight(fight->game.fight));
}
BENCHMARK(BM_HashFight)->Unit(benchmark::kMicrosecond);

}  // namespace
