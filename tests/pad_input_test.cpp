// Pads in the game: which player a pad plays for, the buttons it holds on
// that player's fighter, opposite directions, and a pad pulled out.
#include <gtest/gtest.h>

#include "fight/buttons.h"
#include "platform/input_names.h"
#include "sim/script.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

// A tiny game past start-up, on its splash screen, fed messages by hand.
struct PadGame {
    PadGame()
    {
        writeTinyGame();
        run.run();
    }
    // The message, and the record it made taken as the next pass takes it.
    void send(std::uint32_t message, int pad, int code = 0, int value = 0)
    {
        windowProc(game(), message, padParam(pad, code, value));
        flushStepInput(game());
    }
    Game& game() { return *run.game; }
    Fighter& f1() { return *game().fight.fighter1; }
    Fighter& f2() { return *game().fight.fighter2; }
    ScratchDir dir;
    TinyRun run{{}, 1};
};

TEST(Pads, EachPadPlaysForAPlayerAndComesBackToIt)
{
    PadGame g;
    const std::pair<int, std::string> steps[] = {
        {1, "Pad 1 joined player 1"},
        {2, "Pad 2 joined player 2"},
        {3, "Pad 3 joined; both players have a pad"},
        {-1, "Pad 1 left player 1"},
        {4, "Pad 4 joined player 1"},
        {1, "Pad 1 joined player 1"},
        {-4, "Pad 4 left player 1"},
        {-3, "Pad 3 left"},
    };
    for (const auto& [pad, notice] : steps) {
        g.send(pad > 0 ? WM_PADADDED : WM_PADREMOVED, std::abs(pad));
        EXPECT_EQ(g.game().screen.notice, notice);
        EXPECT_EQ(g.game().screen.noticeUntil, g.run.platform.clock() + 2000);
    }
    // The controls file's choice, when the pad has had no player yet.
    g.send(WM_PADADDED, 5, 2);
    EXPECT_EQ(g.game().screen.notice, "Pad 5 joined player 2");
    EXPECT_EQ(g.game().fight.gameState, GameState::Splash);
}

TEST(Pads, ButtonsAndStickHoldThePlayersButtons)
{
    PadGame g;
    g.send(WM_PADADDED, 1);
    g.send(WM_PADADDED, 2);
    const int toward = buttonCode(g.f1(), PlayerButton::Right), away = buttonCode(g.f1(), PlayerButton::Left);
    // A button leaves the splash screen and is the fight's first input.
    g.send(WM_PADBUTTONDOWN, 1, kPadDpadRight);
    EXPECT_EQ(g.game().fight.gameState, GameState::Fight);
    EXPECT_EQ(g.f1().held, (ButtonSet{toward}));
    // Left and right at once: neither, until one is let go.
    g.send(WM_PADBUTTONDOWN, 1, kPadDpadLeft);
    EXPECT_TRUE(g.f1().held.empty());
    g.send(WM_PADBUTTONUP, 1, kPadDpadRight);
    EXPECT_EQ(g.f1().held, (ButtonSet{away}));
    g.send(WM_PADBUTTONUP, 1, kPadDpadLeft);
    // The stick counts past the dead zone only; the D-pad against it is neutral too.
    g.send(WM_PADAXIS, 1, kPadLeftY, kDefaultDeadZone);
    EXPECT_TRUE(g.f1().held.empty());
    g.send(WM_PADAXIS, 1, kPadLeftY, kDefaultDeadZone + 1);
    EXPECT_EQ(g.f1().held, (ButtonSet{Down}));
    g.send(WM_PADBUTTONDOWN, 1, kPadDpadUp);
    EXPECT_TRUE(g.f1().held.empty());
    g.send(WM_PADBUTTONUP, 1, kPadDpadUp);
    g.send(WM_PADBUTTONDOWN, 1, kPadA);
    g.send(WM_PADBUTTONDOWN, 2, kPadB);
    EXPECT_EQ(g.f1().held, (ButtonSet{Down, Attack}));
    EXPECT_EQ(g.f2().held, (ButtonSet{Block}));
    // Pulled out while holding: everything it held is let go, once.
    const auto before = g.f1().history.size();
    g.send(WM_PADREMOVED, 1);
    EXPECT_TRUE(g.f1().held.empty());
    EXPECT_EQ(g.f1().history.size(), std::min<std::size_t>(before + 2, 10));
    EXPECT_EQ(g.f2().held, (ButtonSet{Block}));
    g.send(WM_PADBUTTONDOWN, 1, kPadA);  // a late event of the pad that is gone
    EXPECT_TRUE(g.f1().held.empty());
}

TEST(Pads, ScriptLinesOfPadEventsAreReadOrRefused)
{
    auto script = sim::parseScript(
        "1100 pad-added 2\n"
        "1200 pad 2 down leftshoulder\n"
        "1300 pad 2 axis leftx -20000\n"
        "1400 pad 2 down a\n"
        "1500 pad-removed 2\n");
    ASSERT_EQ(script.error, "");
    EXPECT_EQ(script.events[2], (ScriptEvent{1300, ScriptEvent::Kind::PadAxis,
                                             static_cast<int>(padParam(2, kPadLeftX, -20000))}));
    for (const char* bad : {"1 pad 0 down a", "1 pad 2 down z", "1 pad 2 axis leftx 40000", "1 pad 2 press a",
                            "1 pad-added", "1 pad 2 axis sideways 3"})
        EXPECT_NE(sim::parseScript(bad).error, "") << bad;
    // Scripted pad events reaching the game: Match.PadStartPausesAndThePadTakesTheMenu.
}

}  // namespace
}  // namespace ib::test
