// Start positions and the playing of a move's frames.
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

// Fighter 1 plays `frames` as its default move on a level too wide for the
// walls to matter; fighter 2 stands still.
struct Stage {
    Stage(bool loops, const std::vector<FrameShape>& frames)
        : ch(makeCharacter(makeMove({}, 0, 0, makeAnimation(loops, frames)))),
          still(makeCharacter(makeMove({}, 0, 0, makeAnimation(true, {{}}))))
    {}
    void passes(std::initializer_list<std::uint32_t> times)
    {
        for (std::uint32_t t : times) moveFighters(f1, f2, level, t);
    }
    std::unique_ptr<Character> ch, still;
    Level level = makeLevel(-100000, 100000);
    Fighter f1{*ch, level, Side::Left}, f2{*still, level, Side::Right};
    const int startX = f1.x;
};

TEST(Animation, EachFrameMovesTheFighterOnceWhenItBecomesCurrent)
{
    // The 20 ms frame's slot falls between the passes at 0 and 150.
    Stage s(false, {{.duration = 100, .dx = 1}, {.duration = 20, .dx = 10, .dy = -7},
                    {.duration = 100, .dx = 100, .dy = 3}});
    s.passes({0, 150, 160});
    EXPECT_EQ(s.f1.x, s.startX - 101);  // mirrored: facing -1
    EXPECT_EQ(s.f1.y, 443);

    Stage loop(true, {{.duration = 50, .dx = 3}});
    loop.passes({0, 10, 60, 500, 4000});
    EXPECT_EQ(loop.f1.x, loop.startX - 3);

    Stage empty(false, {});  // no frame: no geometry, nothing moves
    empty.f2.x = empty.f1.x;
    empty.passes({0, 10});
    EXPECT_EQ(empty.f1.x, empty.startX);
}

TEST(Animation, PlayedOutMoveGivesWayToPendingThenDefault)
{
    Stage s(true, {{.duration = 40}});
    auto oneShot = makeMove({}, 0, 0, makeAnimation(false, {{.duration = 100}}));
    Fighter& f = s.f1;
    f.currentMove = f.pendingMove = oneShot.get();
    f.moveStart = 1000;
    f.lastHitRegion = 4;
    EXPECT_TRUE(f.advanceAnimation(1099));
    EXPECT_FALSE(f.advanceAnimation(1050));
    // Played out: the pending move starts on the very same Frame, which
    // still counts as a change.
    EXPECT_TRUE(f.advanceAnimation(1100));
    EXPECT_EQ(f.currentMove, oneShot.get());
    EXPECT_EQ(f.pendingMove, s.ch->defaultMove());
    EXPECT_EQ(f.moveStart, 1100u);
    EXPECT_EQ(f.lastHitRegion, 0);
    EXPECT_TRUE(f.advanceAnimation(1200));
    EXPECT_EQ(f.frame, s.ch->defaultMove()->animation->frames[0].get());
}

}  // namespace
}  // namespace ib
