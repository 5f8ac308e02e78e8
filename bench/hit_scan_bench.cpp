// The hit test, the packed scan and the cell-by-cell reference side by side:
// two 250 x 250 masks lying fully over each other in three ways that find
// no strike, and three moments of the scripted fight on the default content.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "bench_game.h"
#include "support/fight_builders.h"

namespace {

using namespace ib;
using namespace ib::bench;

constexpr int kSide = 250;

HitMask packedMask(const test::MaskCell& cell)
{
    HitMask m = test::makeMask(kSide, kSide, cell);
    packHitMask(m);
    return m;
}

// Each mask serves as both fighters' mask; column c of fighter 1 lies on
// column 249 - c of fighter 2, on the same row.
struct FullOverlap {
    HitMask mask;
    std::int32_t lastHit = 0;
    ScanCase scan() const
    {
        return ScanCase{
            {kSide, kSide, &mask}, {kSide, kSide, &mask}, kSide - 1, 0, lastHit, lastHit};
    }
};

// Body everywhere, nothing strikes.
const FullOverlap& nothingStrikes()
{
    static const FullOverlap c{packedMask([](int, int) { return std::pair{1, 0}; })};
    return c;
}

// Strikes and bodies on every odd column: an odd column meets an even one,
// so every 64-cell word holds strikes and bodies and none meet.
const FullOverlap& strikesMissBodies()
{
    static const FullOverlap c{packedMask([](int, int col) {
        return col % 2 ? std::pair{1, 3} : std::pair{0, 0};
    })};
    return c;
}

// Every cell a candidate whose value (5) was landed last; the one other value
// (6, at the last cell) meets the one cell without body.
const FullOverlap& everyCandidatePassedOver()
{
    static const FullOverlap c{
        packedMask([](int row, int col) {
            const bool last = row == kSide - 1;
            return std::pair{last && col == 0 ? 0 : 1, last && col == kSide - 1 ? 6 : 5};
        }),
        5};
    return c;
}

// Moments of the scripted fight: the first pass in which the pictures meet
// (both walking, nothing strikes), the first in which rook's punch lands,
// and the next, the punch still out over quill after landing.
struct FightMoments {
    std::unique_ptr<DefaultFight> fight = std::make_unique<DefaultFight>();
    std::optional<ScanCase> meeting, landing, afterLanding;

    FightMoments()
    {
        for (int i = 0; i < 20000 && fight->opened && !afterLanding && !fight->over(); ++i) {
            std::optional<ScanCase> scan;
            fight->pass(&scan);
            if (!scan) continue;
            if (!meeting) meeting = scan;
            if (landing) {
                afterLanding = scan;
            } else if (findStrikes(scan->fighter1, scan->fighter2, scan->d, scan->dy,
                                   scan->lastHit1, scan->lastHit2)
                           .byFighter1 != 0) {
                landing = scan;
            }
        }
    }
};

const FightMoments& fightMoments()
{
    static const FightMoments moments;
    return moments;
}

using Scan = Strikes (*)(const PoseMask&, const PoseMask&, std::int64_t, std::int64_t,
                         std::int32_t, std::int32_t);

void runScan(benchmark::State& state, const std::function<std::optional<ScanCase>()>& pick,
             Scan scan)
{
    const std::optional<ScanCase> c = pick();
    if (!c) return state.SkipWithError("the fight never came to this moment");
    // Both scans must agree, or the figure means nothing.
    const Strikes found =
        findStrikesPacked(c->fighter1, c->fighter2, c->d, c->dy, c->lastHit1, c->lastHit2);
    if (found != findStrikes(c->fighter1, c->fighter2, c->d, c->dy, c->lastHit1, c->lastHit2))
        return state.SkipWithError("the packed scan disagrees with the reference");
    state.SetLabel("d " + std::to_string(c->d) + ", dy " + std::to_string(c->dy) + ", lands " +
                   std::to_string(found.byFighter1) + " and " + std::to_string(found.byFighter2));
    for (auto _ : state) {
        PoseMask a = c->fighter1, b = c->fighter2;
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(scan(a, b, c->d, c->dy, c->lastHit1, c->lastHit2));
    }
}

[[maybe_unused]] const bool registered = [] {
    const std::pair<const char*, std::function<std::optional<ScanCase>()>> cases[] = {
        {"nothing_strikes", [] { return std::optional{nothingStrikes().scan()}; }},
        {"strikes_miss_bodies", [] { return std::optional{strikesMissBodies().scan()}; }},
        {"every_candidate_passed_over",
         [] { return std::optional{everyCandidatePassedOver().scan()}; }},
        {"fight_pictures_meet", [] { return fightMoments().meeting; }},
        {"fight_punch_lands", [] { return fightMoments().landing; }},
        {"fight_punch_after_landing", [] { return fightMoments().afterLanding; }},
    };
    for (const auto& [name, pick] : cases) {
        for (const auto& [how, scan] : {std::pair{"packed", Scan{&findStrikesPacked}},
                                        std::pair{"reference", Scan{&findStrikes}}}) {
            benchmark::RegisterBenchmark(
                (std::string("BM_HitScan/") + name + "/" + how).c_str(),
                [pick = pick, scan = scan](benchmark::State& s) { runScan(s, pick, scan); });
        }
    }
    return true;
}();

}  // namespace
