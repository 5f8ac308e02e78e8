// The tiny game (support/tiny_game.h) opened on the headless display and
// put straight into the fight, for tests that draw frames one by one.
#pragma once

#include <gtest/gtest.h>

#include "app/display.h"
#include "app/fight_screen.h"
#include "app/game.h"
#include "graphics/render.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {

// Counts the clock's readings; each reading is one millisecond later.
struct CountingPlatform : HeadlessPlatform {
    int readings = 0;
    std::uint32_t timeGetTime() override { return HeadlessPlatform::timeGetTime() + ++readings; }
};

struct DrawScene {
    ScratchDir dir;
    CountingPlatform platform;
    Game game{platform};

    explicit DrawScene(const TinyGameOptions& options = {})
    {
        writeTinyGame(options);
        EXPECT_EQ(initDisplay(game), DD_OK);
        game.fight.gameState = GameState::Fight;
        game.fight.fighter1->advanceAnimation(0);
        game.fight.fighter2->advanceAnimation(0);
    }
    // One frame drawn from the fight as it stands; true when it was
    // presented.
    bool pass()
    {
        const int before = platform.framesPresented();
        drawFight(game.screen, game.content, game.fight);
        return platform.framesPresented() == before + 1;
    }
    std::uint16_t at(int x, int y) const { return game.screen.primarySurface->pixel(x, y); }
};

}  // namespace ib::test
