// Playing alone: the computer players' share of a pass, and training's
// overlays drawn over a composed frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "app/training_overlay.h"
#include "bench_game.h"
#include "fight/buttons.h"
#include "fight/pass_input.h"

namespace {

using namespace ib;
using namespace ib::bench;

// Both players are the computer at one level; each iteration is one pass
// of the fight, and only the computers' part of it is timed. A decided
// fight starts again with the next seed.
void BM_ComputerPass(benchmark::State& state)
{
    auto fight = std::make_unique<DefaultFight>(false);
    if (!fight->opened) return state.SkipWithError("the default content did not load");
    Game& g = fight->game;
    const int level = static_cast<int>(state.range(0));
    g.playOptions.computerLevel[0] = g.playOptions.computerLevel[1] = level;
    std::uint32_t seed = 1;
    auto restart = [&] {
        g.playOptions.seed = seed++;
        startFight(g, PlayMode::VersusComputer);
    };
    restart();
    const FightRules rules = fightRules(g);
    std::uint32_t clock = 1000;
    long long fights = 0;
    std::vector<double> passUs;
    passUs.reserve(1 << 20);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        playPassInput(g.fight, rules.knowledge);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (passUs.size() < passUs.capacity()) passUs.push_back(seconds * 1e6);
        // The rest of the pass, without the computers a second time.
        g.fight.mode = PlayMode::TwoPlayers;
        fightStep(g.fight, rules, clock += 16);
        g.fight.mode = PlayMode::VersusComputer;
        if (g.fight.decisionTime != 0) {
            ++fights;
            restart();
            clock = 1000;
        }
    }
    state.counters["fights_decided"] = static_cast<double>(fights);
    // The passes in which the computers think cost the most.
    std::sort(passUs.begin(), passUs.end());
    if (!passUs.empty()) {
        state.counters["pass_p99_us"] = passUs[passUs.size() * 99 / 100];
        state.counters["pass_max_us"] = passUs.back();
    }
}
BENCHMARK(BM_ComputerPass)->Arg(1)->Arg(3)->Arg(5)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Both overlays over a frame in which rook's punch has just landed.
void BM_TrainingOverlays(benchmark::State& state)
{
    DefaultFight fight(false);
    if (!fight.opened) return state.SkipWithError("the default content did not load");
    Game& g = fight.game;
    startFight(g, PlayMode::Training);
    g.screen.showHitMasks = g.screen.showInputs = true;
    FightState& f = g.fight;
    const FightRules rules = fightRules(g);
    std::uint32_t clock = 1000;
    for (int i = 0; i < 10; ++i) fightStep(f, rules, clock += 16);
    // Rook steps in until its punch lands.
    for (int i = 0; i < 1200 && f.training.hitX < 0; ++i) {
        if (i % 30 == 0) {
            f.fighter1->x += 20;
            pressButton(*f.fighter1, Attack, f.currentTime);
            releaseButton(*f.fighter1, Attack, f.currentTime);
        }
        fightStep(f, rules, clock += 16);
    }
    if (!composeFight(g.screen, g.content, f)) return state.SkipWithError("the frame was not composed");
    drawTrainingOverlays(g.screen, f);  // outlines of the masks shown are found once
    for (auto _ : state) drawTrainingOverlays(g.screen, f);
    state.counters["hit_marked"] = f.training.hitX >= 0 ? 1 : 0;
}
BENCHMARK(BM_TrainingOverlays)->Unit(benchmark::kMicrosecond);

}  // namespace
