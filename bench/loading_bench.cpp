// Start-up: the game's own on the default content, and a larger made-up
// Character of 10 Moves with 20 Frames each (200 Frames) over 60 distinct
// 200 x 250 pictures, each with its hit mask.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_game.h"
#include "content/content.h"
#include "support/fixtures.h"

namespace {

constexpr int kMoves = 10;
constexpr int kFramesPerMove = 20;
constexpr int kPictures = 60;

void writeContentSet()
{
    using ib::test::writeFile;
    for (int p = 0; p < kPictures; ++p) {
        const std::string name = "pic" + std::to_string(p);
        ib::test::writeTga(name + ".tga", 200, 250,
                           [p](int x, int y) { return std::uint16_t((x * 7 + y * 3 + p) & 0x7FFF); });
        ib::test::writeTga(name + ".mask.tga", 200, 250,
                           [](int x, int y) { return std::uint16_t(x > 50 && y > 40 ? 0x7C00 : 0); });
    }
    std::string character = "idle\n";
    std::string idle = "1\n";
    for (int m = 0; m < kMoves; ++m) {
        const std::string move = "move" + std::to_string(m);
        std::string animation = "0\n";
        for (int f = 0; f < kFramesPerMove; ++f) {
            const int index = m * kFramesPerMove + f;
            const std::string frame = "frame" + std::to_string(index);
            writeFile(frame + ".Frame", "pic" + std::to_string(index % kPictures) +
                                            "\n40\n100,240\n2,0\n60,140\n");
            animation += frame + "\n";
        }
        writeFile(move + ".Animation", animation);
        writeFile(move + ".Move", move + "\n1\n5.5\nf\nfa\n");
        character += move + "\n";
    }
    idle += "frame0\n";
    writeFile("idle.Animation", idle);
    writeFile("set.Character", character);
}

void BM_LoadCharacter200Frames(benchmark::State& state)
{
    ib::test::ScratchDir dir;
    writeContentSet();
    for (auto _ : state) {
        auto device = std::make_shared<ib::DisplayDevice>();
        ib::ImageRegistry registry;
        ib::LoadContext ctx{*device, registry};
        auto character = ib::loadCharacter(ctx, "set");
        benchmark::DoNotOptimize(character.get());
        if (registry.loadedSurfaces.size() != kPictures) state.SkipWithError("pictures not shared");
    }
}
BENCHMARK(BM_LoadCharacter200Frames)->Unit(benchmark::kMillisecond);

// Opening the display and setUpGame on the default content, a fresh Game
// each time (its teardown is not timed).
void BM_StartUp(benchmark::State& state)
{
    ib::bench::InDataDir in;
    for (auto _ : state) {
        auto platform = std::make_unique<ib::HeadlessPlatform>();
        auto game = std::make_unique<ib::Game>(*platform);
        if (ib::initDisplay(*game) != ib::DD_OK || !game->fight.fighter2)
            return state.SkipWithError("the default content did not load");
        state.PauseTiming();
        game.reset();
        platform.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

}  // namespace
