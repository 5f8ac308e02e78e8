// One fight pass of the simulation in its worst case: two 250 x 250
// pictures lying fully over each other, body everywhere and no strike
// anywhere, so the hit scan walks every cell without landing.
#include <benchmark/benchmark.h>

#include <memory>

#include "fight/fighter.h"
#include "support/fight_builders.h"
#include "support/fixtures.h"

namespace {

using namespace ib;
using namespace ib::test;

constexpr int kSide = 250;

struct WorstCase {
    ScratchDir dir;
    PictureMaker pictures;
    std::unique_ptr<Character> rook = standing("rook");
    std::unique_ptr<Character> quill = standing("quill");
    Level level = makeLevel(0, 800);
    Fighter f1{*rook, level, Side::Left}, f2{*quill, level, Side::Right};

    // A looping one-frame stance whose front edges stay apart, so that
    // neither the walls nor the push-apart move anybody.
    std::unique_ptr<Character> standing(const std::string& name)
    {
        auto image = pictures.make(name, kSide, kSide, [](int, int) { return std::pair{31, 0}; });
        auto animation = makeAnimation(true, {});
        animation->frames.push_back(
            makeFrame({.duration = 100, .frontColumn = 200, .backColumn = kSide - 1},
                      std::move(image)));
        animation->frameCount = 1;
        animation->totalDuration = 100;
        return makeCharacter(makeMove({}, 0, 0, std::move(animation)));
    }

    WorstCase()
    {
        moveFighters(f1, f2, level, 0);
        f1.x = 500;  // picture column 0 at 500, column 249 at 251
        f2.x = 251;  // picture column 0 at 251, column 249 at 500
    }
};

void BM_MoveAndResolveHits(benchmark::State& state)
{
    WorstCase fight;
    std::uint32_t decisionTime = 0;
    std::uint32_t t = 1;
    for (auto _ : state) {
        moveFighters(fight.f1, fight.f2, fight.level, t);
        resolveHits(fight.f1, fight.f2, t, decisionTime);
        ++t;
    }
    if (fight.f1.x != 500 || fight.f2.x != 251 || fight.f2.health != 100.0 ||
        fight.f1.health != 100.0) {
        state.SkipWithError("the fighters moved or were hit");
    }
}
BENCHMARK(BM_MoveAndResolveHits)->Unit(benchmark::kMicrosecond);

}  // namespace
