// Presenting a frame through the SDL backend: the flip, then the 800 x 600
// front page streamed into a texture and drawn into the window. SDL's dummy
// video driver stands in for a screen, so no display is needed.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/display.h"
#include "app/fight_screen.h"
#include "app/game.h"
#include "bench_game.h"
#include "platform/sdl_platform.h"

namespace {

void BM_PresentSdl(benchmark::State& state)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    ib::SdlPlatform platform;
    ib::Game game(platform);
    {
        ib::bench::InDataDir in;
        if (ib::initDisplay(game) != ib::DD_OK)
            return state.SkipWithError("the SDL display did not open");
    }
    game.fight.gameState = ib::GameState::Fight;
    ib::drawFight(game.screen, game.content, game.fight);  // a whole fight frame on both pages
    ib::drawFight(game.screen, game.content, game.fight);
    for (auto _ : state) {
        if (!ib::present(game.screen)) return state.SkipWithError("the frame was not presented");
    }
}
BENCHMARK(BM_PresentSdl)->Unit(benchmark::kMicrosecond);

}  // namespace
