// Keyboard input and move recognition.
#include <array>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "support/fight_builders.h"

namespace ib {
namespace {

using test::makeAnimation;
using test::makeCharacter;
using test::makeLevel;
using test::makeMove;

TEST(Recognition, StepMatching)
{
    const int W = Wildcard;
    for (auto [step, snapshot, match] : {
             std::tuple{ButtonSet{1}, ButtonSet{1}, true}, {ButtonSet{1}, ButtonSet{1, 6}, false},
             {ButtonSet{1, W}, ButtonSet{1, 6}, true}, {ButtonSet{1, W}, ButtonSet{6}, false},
             {ButtonSet{}, ButtonSet{}, true}, {ButtonSet{}, ButtonSet{3}, false},
             {ButtonSet{W}, ButtonSet{}, true}, {ButtonSet{7, W}, ButtonSet{5, 7}, true},
             {ButtonSet{2, 6}, ButtonSet{1, 6}, false}}) {
        EXPECT_EQ(stepMatches(step, snapshot), match) << step.bits() << " " << snapshot.bits();
    }
}

// Ordinary moves in listed order, then a looping stance as the default.
struct Moves : testing::Test {
    std::unique_ptr<Character> ch = makeCharacter(
        makeMove({{Attack}}, 5, 0, makeAnimation(false, {{}})),                 // 0: a
        makeMove({{Attack}, {Forward}}, 9, 0, makeAnimation(false, {{}})),      // 1: f, a
        makeMove({{Forward, Wildcard}}, 5, 0, makeAnimation(false, {{}})),      // 2: f*
        makeMove({{Up}}, 7, 0, makeAnimation(false, {{}})),                     // 3: u
        makeMove(std::vector<ButtonSet>(12, {Wildcard}), 0, 0, makeAnimation(false, {{}})),
        makeMove({}, 0, 0, makeAnimation(true, {{.duration = 50}, {.duration = 50}})));
    Level level = makeLevel(0, 800);
    Fighter f{*ch, level, Side::Left};
    const Move* move(int i) { return ch->moves[static_cast<size_t>(i)].get(); }
    void recognize(InputHistory h, std::uint32_t now)
    {
        f.history = std::move(h);
        f.recognizeMove(now);
    }
};

TEST_F(Moves, FirstListedMatchWinsAndPriorityDecidesReplaceOrQueue)
{
    // Looping current: replaced at once; move 0 shadows the longer move 1.
    recognize({{Attack}, {Forward}}, 300);
    EXPECT_EQ(f.currentMove, move(0));
    EXPECT_EQ(f.pendingMove, ch->defaultMove());
    EXPECT_EQ(f.moveStart, 300u);
    recognize({{Forward, Attack}}, 310);  // equal priority waits
    EXPECT_EQ(f.currentMove, move(0));
    EXPECT_EQ(f.pendingMove, move(2));
    recognize({{}}, 320);  // no match: the default move is queued instead
    EXPECT_EQ(f.pendingMove, ch->defaultMove());
    recognize({{Up}}, 330);  // higher priority interrupts
    EXPECT_EQ(f.currentMove, move(3));
    EXPECT_EQ(f.moveStart, 330u);
    recognize({{Attack}}, 340);  // lower priority is queued
    EXPECT_EQ(f.currentMove, move(3));
    EXPECT_EQ(f.pendingMove, move(0));
    EXPECT_EQ(f.moveStart, 330u);
    EXPECT_EQ(compareMoves(*move(0), *move(3)), -1);
}

TEST_F(Moves, LongMovesNeedAsManySnapshotsAndLoopsRestartThemselves)
{
    ASSERT_TRUE(f.advanceAnimation(0));
    recognize(InputHistory(11, ButtonSet{}), 70);
    EXPECT_EQ(f.currentMove, ch->defaultMove());  // restarted by itself
    EXPECT_EQ(f.moveStart, 70u);
    EXPECT_FALSE(f.advanceAnimation(70));  // first frame again: no change
    recognize(InputHistory(12, ButtonSet{}), 80);
    EXPECT_EQ(f.currentMove, move(4));
}

TEST(Keyboard, KeyMapFollowsFacing)
{
    auto ch = makeCharacter(makeMove({}, 0, 0, makeAnimation(true, {{}})));
    Level level = makeLevel(0, 800);
    Fighter f1(*ch, level, Side::Left), f2(*ch, level, Side::Right);
    // key, player, button at facing -1, at 0, at +1
    for (auto [key, player, minus, zero, plus] :
         {std::array{66, 1, 1, 2, 2}, {67, 1, 2, 1, 1}, {70, 1, 3, 3, 3}, {86, 1, 4, 4, 4},
          {88, 1, 6, 6, 6}, {90, 1, 5, 5, 5}, {37, 2, 2, 1, 1}, {38, 2, 3, 3, 3},
          {39, 2, 1, 2, 2}, {40, 2, 4, 4, 4}, {190, 2, 5, 5, 5}, {191, 2, 6, 6, 6}}) {
        for (auto [facing, button] : {std::pair{-1, minus}, {0, zero}, {1, plus}}) {
            f1.facing = f2.facing = facing;
            EXPECT_EQ(mapKey(f1, f2, player, key), button) << key << " facing " << facing;
            EXPECT_EQ(mapKey(f1, f2, 3 - player, key), 0) << key;
        }
    }
    EXPECT_EQ(mapKey(f1, f2, 1, 65), 0);
}

TEST(Keyboard, HeldButtonsHistoryAndRepeats)
{
    auto ch = makeCharacter(makeMove({{Attack}}, 0, 0, makeAnimation(false, {{}})),
                            makeMove({}, 0, 0, makeAnimation(true, {{}})));
    Level level = makeLevel(0, 800);
    Fighter f1(*ch, level, Side::Left), f2(*ch, level, Side::Right);
    for (int key : {90, 90, 88, 88, 90}) handleKeyDown(f1, f2, key, 777);  // Z, X held
    handleKeyUp(f1, f2, 90, 800);
    handleKeyUp(f1, f2, 88, 800);
    handleKeyUp(f1, f2, 88, 800);  // not held: still a snapshot
    EXPECT_EQ(f1.history, (InputHistory{{}, {}, {6}, {5, 6}, {5}}));
    EXPECT_EQ(f1.currentMove, ch->moves[0].get());  // X alone once Z was released
    EXPECT_EQ(f1.moveStart, 800u);
    EXPECT_TRUE(f2.history.empty());
    for (int i = 0; i < 3; ++i) {
        handleKeyDown(f1, f2, 70, 900);
        handleKeyUp(f1, f2, 70, 900);
    }
    handleKeyDown(f1, f2, 88, 950);  // the 12th event
    EXPECT_EQ(f1.pendingMove, ch->moves[0].get());
    ASSERT_EQ(f1.history.size(), 10u);
    EXPECT_EQ(f1.history.front(), (ButtonSet{6}));
    EXPECT_EQ(f1.history.back(), (ButtonSet{6}));
}

}  // namespace
}  // namespace ib
