// Fighter start positions and the playing of a move's animation frames.
#include <array>

#include <gtest/gtest.h>

#include "support/fight_builders.h"

namespace ib {
namespace {

using test::FrameSpec;
using test::makeAnimation;
using test::makeCharacter;
using test::makeLevel;
using test::makeMove;

TEST(FighterStart, QuarterAndThreeQuartersOfTheWidthFromColumnZero)
{
    auto ch = makeCharacter(makeMove({}, 0, 0, makeAnimation(true, {{}})));
    // left, right, x of fighter 1, x of fighter 2: truncation toward zero.
    for (auto [l, r, x1, x2] : {std::array{40, 840, 200, 600}, std::array{0, 803, 200, 602},
                                std::array{100, -3, -25, -77}}) {
        Level level = makeLevel(l, r);
        Fighter f1(*ch, level, Side::Left), f2(*ch, level, Side::Right);
        EXPECT_EQ(f1.x, x1);
        EXPECT_EQ(f2.x, x2);
        EXPECT_EQ(f1.facing, -1);
        EXPECT_EQ(f2.facing, 1);
        EXPECT_EQ(f1.y, 440);  // layerY + playHeight
        EXPECT_EQ(f1.currentMove, ch->defaultMove());
        EXPECT_EQ(f1.frame, nullptr);
    }
}

// One fighter of a Character whose default move plays `frames`, on a level
// wide enough that walls never matter; fighter 2 stands still far away.
struct Stage {
    explicit Stage(bool loops, std::vector<FrameSpec> frames)
        : ch(makeCharacter(makeMove({}, 0, 0, makeAnimation(loops, std::move(frames))))),
          still(makeCharacter(makeMove({}, 0, 0, makeAnimation(true, {{}}))))
    {}
    void pass(std::uint32_t t) { moveFighters(f1, f2, level, t); }
    std::unique_ptr<Character> ch, still;
    Level level = makeLevel(-100000, 100000);
    Fighter f1{*ch, level, Side::Left}, f2{*still, level, Side::Right};
    const int startX = f1.x;
};

TEST(Animation, DisplacementIsAppliedOnceWhenAFrameBecomesCurrent)
{
    // The 20 ms frame's slot falls between the passes at 0 and 150.
    Stage s(false, {{.duration = 100, .dx = 1}, {.duration = 20, .dx = 10, .dy = -7},
                    {.duration = 100, .dx = 100, .dy = 3}});
    s.pass(0);
    EXPECT_EQ(s.f1.frame, s.ch->defaultMove()->animation->frames[0].get());
    s.pass(150);
    s.pass(160);
    EXPECT_EQ(s.f1.x, s.startX - 101);  // facing -1 mirrors dx
    EXPECT_EQ(s.f1.y, 443);

    Stage loop(true, {{.duration = 50, .dx = 3}});
    for (std::uint32_t t : {0u, 10u, 60u, 500u, 4000u}) loop.pass(t);
    EXPECT_EQ(loop.f1.x, loop.startX - 3);
}

TEST(Animation, PlayedOutMoveGivesWayToPendingThenDefault)
{
    Stage s(true, {{.duration = 40}});
    auto oneShot = makeMove({}, 0, 0, makeAnimation(false, {{.duration = 100, .dx = 5}}));
    Fighter& f = s.f1;
    f.currentMove = oneShot.get();
    f.pendingMove = oneShot.get();
    f.moveStart = 1000;
    f.lastHitRegion = 4;
    EXPECT_TRUE(f.advanceAnimation(1099));
    EXPECT_FALSE(f.advanceAnimation(1050));
    // Played out: the pending move starts again on the very same Frame, and
    // that still counts as a change.
    EXPECT_TRUE(f.advanceAnimation(1100));
    EXPECT_EQ(f.currentMove, oneShot.get());
    EXPECT_EQ(f.pendingMove, s.ch->defaultMove());
    EXPECT_EQ(f.moveStart, 1100u);
    EXPECT_EQ(f.lastHitRegion, 0);
    EXPECT_TRUE(f.advanceAnimation(1200));
    EXPECT_EQ(f.currentMove, s.ch->defaultMove());
    EXPECT_EQ(f.frame, s.ch->defaultMove()->animation->frames[0].get());
}

TEST(Animation, MoveWithoutFramesLeavesTheFighterWithoutGeometry)
{
    Stage s(false, {});
    s.f2.x = s.f1.x;  // would be pushed apart if both had a frame
    s.pass(0);
    s.pass(10);
    EXPECT_EQ(s.f1.frame, nullptr);
    EXPECT_EQ(s.f1.x, s.startX);
    std::uint32_t decided = 0;
    resolveHits(s.f1, s.f2, 10, decided);
    EXPECT_EQ(s.f2.health, 100.0);
}

}  // namespace
}  // namespace ib
