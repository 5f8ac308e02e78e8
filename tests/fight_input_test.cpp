// Keyboard input and move recognition.
#include <array>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>
#include <tuple>

#include <gtest/gtest.h>

#include "input/key_bindings.h"
#include "platform/platform.h"
#include "support/fight_builders.h"

namespace ib {
namespace {

using namespace test;

// How one step matches a snapshot (exactly, or with a wildcard for any
// more) is exercised here through recognition, by DefaultMoves' press and
// hit tables on the real move sets, and pass for pass by the golden traces.
TEST(Recognition, FirstListedMatchWinsAndPriorityDecidesReplaceOrQueue)
{
    auto ch = makeCharacter(
        makeMove({{Attack}}, 5, 0, makeAnimation(false, {{}})),             // 0: a
        makeMove({{Attack}, {Forward}}, 9, 0, makeAnimation(false, {{}})),  // 1: f, a
        makeMove({{Forward, Wildcard}}, 5, 0, makeAnimation(false, {{}})),  // 2: f*
        makeMove({{Up}}, 7, 0, makeAnimation(false, {{}})),                 // 3: u
        makeMove(std::vector<ButtonSet>(12, {Wildcard}), 0, 0, makeAnimation(false, {{}})),
        makeMove({}, 0, 0, makeAnimation(true, {{.duration = 50}, {.duration = 50}})));
    Level level = makeLevel(0, 800);
    Fighter f(*ch, level, Side::Left);
    const Move* def = ch->defaultMove();
    auto move = [&](int i) -> const Move* { return ch->moves[static_cast<size_t>(i)].get(); };
    ASSERT_TRUE(f.advanceAnimation(0));
    // history, now, then current, pending, moveStart
    for (auto [history, now, current, pending, start] : {
             std::tuple{InputHistory(11, ButtonSet{}), 70u, def, def, 70u},  // loop restarts
             {InputHistory{{Attack}, {Forward}}, 300u, move(0), def, 300u},  // 0 shadows 1
             {InputHistory{{Forward, Attack}}, 310u, move(0), move(2), 300u},  // equal waits
             {InputHistory{{}}, 320u, move(0), def, 300u},  // no match queues the default
             {InputHistory{{Up}}, 330u, move(3), def, 330u},  // higher interrupts
             {InputHistory{{Attack}}, 340u, move(3), move(0), 330u},  // lower waits
             {InputHistory(12, ButtonSet{}), 350u, move(3), move(4), 330u}}) {
        f.history = history;
        f.recognizeMove(now);
        EXPECT_EQ(std::tuple(f.currentMove, f.pendingMove, f.moveStart),
                  std::tuple(current, pending, start)) << "at " << now;
        if (now == 70u) {
            EXPECT_FALSE(f.advanceAnimation(70));  // first frame already shown
        }
    }
}

// Which button each key presses: a fighter's facing is set when it is made
// and never changes, so every key's button is pinned pass for pass by the
// golden everything trace (it presses all twelve), and the README's table
// below names them; keys of nobody's are SdlKeys.AKeyOfEveryGroupLeavesTheSplashAndPressesNoButton.

// The README's table of controls says what the bindings give each player
// at the start of a fight, when player 1 stands on the left.
TEST(Keyboard, TheReadmeTableOfControlsIsTheBindingsTable)
{
    std::ifstream readme(INKBLOT_SOURCE_DIR "/README.md");
    std::map<std::string, std::array<std::string, 2>> rows;
    for (std::string line; std::getline(readme, line);) {
        std::vector<std::string> cells;
        std::stringstream in(line);
        for (std::string cell; std::getline(in, cell, '|');) {
            cell.erase(0, cell.find_first_not_of(" `"));
            cell.erase(cell.find_last_not_of(" `") + 1);
            cells.push_back(cell);
        }
        if (cells.size() == 4 && !cells[1].empty()) rows[cells[1]] = {cells[2], cells[3]};
    }
    const std::map<int, std::string> shown = {
        {VK_LEFT, "Left arrow"}, {VK_RIGHT, "Right arrow"}, {VK_UP, "Up arrow"},
        {VK_DOWN, "Down arrow"}, {VK_OEM_2, "/"},           {VK_OEM_PERIOD, "."}};
    ASSERT_EQ(keyBindings().size(), 12u);
    for (const KeyBinding& k : keyBindings()) {
        const bool toward = k.button == (k.player == 1 ? PlayerButton::Right : PlayerButton::Left);
        const bool away = k.button == (k.player == 1 ? PlayerButton::Left : PlayerButton::Right);
        const char* action = toward ? "toward the opponent"
                             : away ? "away from the opponent"
                             : k.button == PlayerButton::Up ? "up (jump)"
                             : k.button == PlayerButton::Down ? "down (crouch)"
                             : k.button == PlayerButton::Attack ? "attack" : "block";
        const std::string key = shown.count(k.virtualKey) ? shown.at(k.virtualKey) : keyName(k.virtualKey);
        EXPECT_EQ(rows[action][static_cast<std::size_t>(k.player - 1)], key) << action;
    }
}

TEST(Keyboard, HeldButtonsRepeatsAndTheTenNewestSnapshots)
{
    auto ch = makeCharacter(makeMove({{Attack}}, 0, 0, makeAnimation(false, {{}})),
                            makeMove({}, 0, 0, makeAnimation(true, {{}})));
    Level level = makeLevel(0, 800);
    Fighter f1(*ch, level, Side::Left), f2(*ch, level, Side::Right);
    for (int key : {90, 90, 88, 88, 90}) keyDown(f1, f2, key, 777);  // Z, X held
    for (int key : {90, 88, 88}) keyUp(f1, f2, key, 800);  // the last X is not held
    EXPECT_EQ(f1.history, (InputHistory{{}, {}, {6}, {5, 6}, {5}}));
    EXPECT_TRUE(f2.history.empty());
    EXPECT_EQ(f1.currentMove, ch->moves[0].get());  // X alone, once Z was released
    EXPECT_EQ(f1.moveStart, 800u);
    for (int i = 0; i < 3; ++i) {
        keyDown(f1, f2, 70, 900);
        keyUp(f1, f2, 70, 900);
    }
    keyDown(f1, f2, 88, 950);  // the 12th event
    ASSERT_EQ(f1.history.size(), 10u);
    EXPECT_EQ(f1.history.back(), (ButtonSet{6}));
}

}  // namespace
}  // namespace ib
