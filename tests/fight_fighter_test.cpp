// Start positions on levels of any width, and a frame whose slot falls
// between two passes. How played-out moves give way, looping and the rest of
// frame playing are pinned pass for pass by the golden traces (tests/traces).
#include <array>

#include <gtest/gtest.h>

#include "support/fight_builders.h"

namespace ib {
namespace {

using namespace test;

TEST(FighterStart, QuarterAndThreeQuartersOfTheWidthFromColumnZero)
{
    auto ch = makeCharacter(makeMove({}, 0, 0, makeAnimation(true, {{}})));
    // left, right, x of fighter 1, x of fighter 2: division truncates toward 0
    for (auto [l, r, x1, x2] : {std::array{40, 840, 200, 600}, {0, 803, 200, 602},
                                {100, -3, -25, -77}}) {
        Level level = makeLevel(l, r);
        Fighter f1(*ch, level, Side::Left), f2(*ch, level, Side::Right);
        EXPECT_EQ((std::array{f1.x, f1.facing, f2.x, f2.facing, f1.y}),
                  (std::array{x1, -1, x2, 1, 440}));
    }
}

// Fighter 1 on a level too wide for the walls to matter: the 20 ms frame's
// slot falls between the passes at 0 and 150, so it never moves the fighter.
TEST(Animation, EachFrameMovesTheFighterOnceWhenItBecomesCurrent)
{
    auto ch = makeCharacter(makeMove({}, 0, 0, makeAnimation(false, {{.duration = 100, .dx = 1},
                                                                    {.duration = 20, .dx = 10, .dy = -7},
                                                                    {.duration = 100, .dx = 100, .dy = 3}})));
    auto still = makeCharacter(makeMove({}, 0, 0, makeAnimation(true, {{}})));
    Level level = makeLevel(-100000, 100000);
    Fighter f1{*ch, level, Side::Left}, f2{*still, level, Side::Right};
    const int startX = f1.x;
    for (std::uint32_t t : {0u, 150u, 160u}) moveFighters(f1, f2, level, t);
    EXPECT_EQ(f1.x, startX - 101);  // mirrored: facing -1
    EXPECT_EQ(f1.y, 443);
}

}  // namespace
}  // namespace ib
