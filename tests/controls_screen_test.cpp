// The controls screen driven by a script: F1 opens it over the splash
// screen, keys and pad buttons bind actions in turn, a taken key is
// refused, Escape keeps a binding, and leaving saves the file and brings
// the splash screen back, where a key starts the fight as before.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "fight/buttons.h"
#include "sim/screenshot.h"
#include "sim/script.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

TEST(ControlsScreen, PlayersBindTheirActionsInTurnAndTheFileIsSaved)
{
    std::string script = "1100 down F1\n1120 up F1\n"
                         "1200 down K\n1220 up K\n"           // player 1 toward
                         "1300 down LEFT\n1320 up LEFT\n"     // player 2's: refused
                         "1400 down ESCAPE\n1420 up ESCAPE\n"  // away stays C
                         "1500 down G\n1510 down G\n1530 up G\n";  // up; the repeat is nothing
    for (int t = 1600; t < 2300; t += 100)  // down to player 2's down
        script += std::to_string(t) + " down ESCAPE\n" + std::to_string(t + 20) + " up ESCAPE\n";
    script += "2400 pad-added 1\n2500 pad 1 down x\n2520 pad 1 up x\n"  // player 2's attack
              "2600 down ESCAPE\n2620 up ESCAPE\n"
              "2800 down K\n";
    auto parsed = sim::parseScript(script);
    ASSERT_EQ(parsed.error, "");

    TinyGameDir dir;
    writeFile("controls.ini", "; mine\n[pads]\ndeadzone = 9000\n");
    TinyRun r(parsed.events, 120);
    r.game->controllers.configPath = (dir.path() / "controls.ini").string();
    std::vector<bool> open;
    std::vector<std::string> refusals;
    std::uint16_t paper = 0;
    r.platform.onPassEnd = [&] {
        Game& g = *r.game;
        open.push_back(g.controllers.controlsScreen != nullptr);
        refusals.push_back(g.controllers.controlsScreen ? g.controllers.controlsScreen->refusal : "");
        if (r.platform.passes() == 22) {
            paper = g.screen.primarySurface->pixel(10, 10);
            sim::writePng(*g.screen.primarySurface, (dir.path() / "controls.png").string());
        }
        return true;
    };
    testing::internal::CaptureStderr();
    EXPECT_EQ(r.run(), 0);
    testing::internal::GetCapturedStderr();
    Game& g = *r.game;

    EXPECT_FALSE(open[5]);  // 1080 ms
    EXPECT_TRUE(open[7]);   // 1112 ms
    EXPECT_EQ(refusals[21], "Left is taken: player 2's toward");  // 1336 ms
    EXPECT_EQ(refusals[26], "");
    EXPECT_EQ(paper, toRgb565(0xBDE3F7));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "controls.png"));
    EXPECT_TRUE(open[99]);    // 2584 ms
    EXPECT_FALSE(open[100]);  // 2600 ms: the last Escape

    std::stringstream file;
    file << std::ifstream(dir.path() / "controls.ini").rdbuf();
    EXPECT_EQ(file.str(), "; mine\n[pads]\ndeadzone = 9000\n\n"
                          "[player1]\ntoward = K\nup = G\n\n"
                          "[player2]\npad-attack = x\n");
    EXPECT_EQ(g.screen.notice, "Controls saved");
    // K left the splash screen and walks player 1 toward player 2.
    EXPECT_EQ(g.fight.gameState, GameState::Fight);
    EXPECT_EQ(g.fight.fighter1->held, (ButtonSet{buttonCode(*g.fight.fighter1, PlayerButton::Right)}));
}

}  // namespace
}  // namespace ib::test
