// The ways to play alone: the options that start them, the splash keys,
// the end screen that leads back to the splash, and training (health that
// never runs out and refills, the reset, the dummy's modes, the recording
// and the overlays), driven by scripts as a player would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "app/display.h"
#include "app/game.h"
#include "app/splash_lettering.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

PlayOptions optionsOf(std::vector<const char*> args)
{
    HeadlessPlatform platform;
    Game game(platform);
    args.insert(args.begin(), "inkblot-fighter");
    readArguments(game, static_cast<int>(args.size()), args.data());
    return game.playOptions;
}

TEST(PlayOptions, StartAModeWithLevelsAndASeed)
{
    auto o = optionsOf({"--versus-cpu", "4", "slow"});
    EXPECT_EQ(o.startMode, PlayMode::VersusComputer);
    EXPECT_EQ(o.computerLevel[1], 4);
    o = optionsOf({"--versus-cpu", "slow"});  // the level is optional
    EXPECT_EQ(o.startMode, PlayMode::VersusComputer);
    EXPECT_EQ(o.computerLevel[1], 0);
    o = optionsOf({"--versus-cpu", "9"});  // said and left out
    EXPECT_EQ(o.computerLevel[1], 0);
    o = optionsOf({"--cpu", "1:5", "--cpu", "2:2", "--seed", "42"});
    EXPECT_EQ(o.startMode, PlayMode::VersusComputer);
    EXPECT_EQ(o.computerLevel[0], 5);
    EXPECT_EQ(o.computerLevel[1], 2);
    EXPECT_EQ(o.seed, 42u);
    o = optionsOf({"--training", "--cpu", "3:1", "--cpu", "1:0", "--seed", "x"});
    EXPECT_EQ(o.startMode, PlayMode::Training);
    EXPECT_EQ(o.computerLevel[0], 0);
    EXPECT_FALSE(o.seed);
    EXPECT_FALSE(optionsOf({"slow"}).startMode);
}

TEST(PlayOptions, TheSimPlaysTheComputersFightsWithoutDrawing)
{
    ScratchDir dir;
    EXPECT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--cpu", "1:2", "--cpu", "2:4", "--fights", "2"}), 0);
    EXPECT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--fights", "0"}), 2);
    EXPECT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--fights", "1", "--max-ms", "soon"}), 2);
}

constexpr int kF2 = 0x71;

TEST(PlayModes, F2FightsTheComputerAndTheMatchLeadsBackToTheSplash)
{
    TinyGameDir dir;
    // F2 on the splash; player 2's keys do nothing; much later, after the
    // computer's knock-out ends the one-round match, the rematch menu's
    // "Back to the splash" is chosen, and any key starts two players.
    TinyRun run({keyDown(1100, kF2), keyUp(1150, kF2), keyDown(1200, VK_LEFT), keyUp(1250, VK_LEFT),
                 keyDown(40000, VK_DOWN), keyUp(40050, VK_DOWN), keyDown(40100, VK_RETURN),
                 keyUp(40150, VK_RETURN), keyDown(41000, 'B')},
                14000);
    std::set<GameState> afterEnd;
    bool ended = false, closed = false;
    std::size_t p2Presses = 0;
    run.platform.onPassEnd = [&] {
        const FightState& f = run.game->fight;
        if (f.match.menu == MatchMenu::Rematch) ended = true;
        else if (ended) afterEnd.insert(f.gameState);
        if (run.platform.passStartClock() == 1200) p2Presses = f.fighter2->history.size();
        closed = closed || !run.platform.windowShown();
        return f.mode != PlayMode::TwoPlayers || f.gameState != GameState::Fight;
    };
    run.game->playOptions.seed = 5;
    run.game->playOptions.rounds = 1;
    run.game->playOptions.timerSeconds = 30;
    EXPECT_EQ(run.run(), 0);
    const FightState& f = run.game->fight;
    EXPECT_TRUE(ended);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(afterEnd.count(GameState::Splash));
    EXPECT_EQ(p2Presses, 0u);  // the Left key reached nobody
    // The two-player fight starts anew with the key that left the splash.
    EXPECT_EQ(f.mode, PlayMode::TwoPlayers);
    EXPECT_EQ(f.gameState, GameState::Fight);
    EXPECT_EQ(f.fighter1->health, 100.0);
    EXPECT_EQ(f.fighter2->health, 100.0);
    EXPECT_EQ(f.computer[1].level, 0);
    EXPECT_EQ(f.fighter1->held, ButtonSet{Forward});
}

// Rook walks in and punches the standing dummy for twelve seconds, waits,
// is put back (F4), cycles the dummy's modes (F7) and records a punch for
// it (F8), which it then plays back.
std::string trainingScript()
{
    std::ostringstream s;
    s << "1100 down F5\n1150 up F5\n1200 down B\n3000 up B\n";
    for (int t = 3000; t < 15000; t += 800)
        s << t << " down B\n" << t + 250 << " up B\n" << t + 300 << " down X\n" << t + 350 << " up X\n";
    s << "17000 down F4\n17050 up F4\n";
    for (int t = 18000; t <= 22000; t += 1000) s << t << " down F7\n" << t + 50 << " up F7\n";
    for (int t = 22200; t <= 22600; t += 200) s << t << " down F7\n" << t + 50 << " up F7\n";
    s << "23000 down F8\n23050 up F8\n23200 down X\n23250 up X\n23600 down F8\n23650 up F8\n";
    return s.str();
}

// F2 opens the level choice on the level the controls file kept; the
// choice starts the fight and goes back into the file, whose other bytes
// stay. Escape leaves the choice for the splash screen.
TEST(PlayModes, F2ChoosesTheComputersLevelAndTheControlsFileKeepsIt)
{
    ScratchDir dir;
    const std::string kept = "# mine\r\n[play]\r\nlevel = 2 ; last time\r\n[match]\r\nrounds = 3\r\n";
    writeFile("controls.ini", kept);
    writeFile("level.script", "1100 down F2\n1150 up F2\n1200 down ESCAPE\n1250 up ESCAPE\n"
                              "1300 down F2\n1350 up F2\n1400 down DOWN\n1450 up DOWN\n"
                              "1500 down DOWN\n1550 up DOWN\n1600 down X\n1650 up X\n");
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--choose-level", "5", "--config", "controls.ini", "--script",
                           "level.script", "--step-ms", "50", "--passes", "40", "--trace", "level.jsonl"}),
              0);
    const auto lines = readTrace("level.jsonl");
    EXPECT_EQ(lines.back()["mode"], "versus computer");
    EXPECT_EQ(lines.back()["computerLevels"], nlohmann::json::array({0, 4}));
    for (const auto& l : lines) {
        if (l["clock"] < 1600) {
            EXPECT_EQ(l["state"], "Splash") << l["clock"];
        }
    }
    std::string want = kept;
    want.replace(want.find("2 ;"), 1, "4");
    EXPECT_EQ(readText("controls.ini"), want);
}

// The splash says what the keys are now, lists every mode's key and
// whether the sound is on.
TEST(PlayModes, TheSplashSaysTheControlsAsTheyAreNow)
{
    Controls controls = defaultControls();
    controls.keys[0][static_cast<std::size_t>(Action::Attack)] = 'K';
    const auto said = [](const std::vector<SplashText>& lettering) {
        std::string all;
        for (const SplashText& t : lettering) all += t.text + "|";
        return all;
    };
    const std::string on = said(splashLettering(controls, true));
    EXPECT_NE(on.find("|V|K|Z|"), std::string::npos) << on;  // crouch, attack, block
    for (const char* mode : {"F2 ", "F3 ", "F4 ", "F1 ", "sound: on"}) EXPECT_NE(on.find(mode), std::string::npos) << mode;
    EXPECT_NE(said(splashLettering(controls, false)).find("sound: off"), std::string::npos);
}

// Escape in training pauses it with training's menu: "Reset positions"
// puts the fighters back; Escape twice more asks before quitting.
TEST(Training, EscapeOpensTrainingsPauseMenu)
{
    ScratchDir dir;
    writeFile("pause.script", "1100 down B\n2000 up B\n2100 down ESCAPE\n2150 up ESCAPE\n2600 down DOWN\n"
                              "2650 up DOWN\n2700 down ENTER\n2750 up ENTER\n3000 down ESCAPE\n3050 up ESCAPE\n"
                              "3100 down ESCAPE\n3150 up ESCAPE\n");
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--training", "--script", "pause.script", "--step-ms", "50",
                           "--passes", "80", "--trace", "pause.jsonl"}),
              0);
    const auto lines = readTrace("pause.jsonl");
    nlohmann::json atPause;
    for (const auto& l : lines) {
        const std::uint32_t clock = l["clock"];
        if (clock >= 2150 && clock < 2700) {
            if (atPause.is_null()) atPause = l;
            EXPECT_EQ(l.value("menu", ""), "training pause") << clock;
            EXPECT_EQ(l["fighters"], atPause["fighters"]) << clock;  // nothing moves
        }
        if (clock >= 2750 && clock < 3000) {
            EXPECT_FALSE(l.contains("menu")) << clock;
            EXPECT_EQ(l["fighters"][0]["x"], 190) << clock;
        }
    }
    EXPECT_GT(atPause["fighters"][0]["x"].get<int>(), 190);  // rook had walked in
    EXPECT_EQ(lines.back().value("menu", ""), "quit?");
    EXPECT_EQ(lines.back()["state"], "Fight");
}

TEST(Training, HealthRefillsResetDummyModesAndRecording)
{
    ScratchDir dir;
    writeFile("training.script", trainingScript());
    const std::string trace = (dir.path() / "training.jsonl").string();
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--training", "--seed", "6", "--script",
                           (dir.path() / "training.script").string(), "--passes", "1700", "--trace", trace,
                           "--screenshot", "130:" + (dir.path() / "overlay.png").string()}),
              0);
    const auto lines = readTrace(trace);
    ASSERT_EQ(lines.size(), 1700u);
    double lowest = 100;
    std::uint32_t lastHitAt = 0;
    std::vector<std::string> dummies;
    std::set<int> dummyLevels;
    std::set<std::uint32_t> playbackPresses;
    double healthBefore = 100;
    bool refilled = false, resetSeen = false, p1KeysWentToDummy = true;
    for (const auto& l : lines) {
        const auto& quill = l["fighters"][1];
        const auto& rook = l["fighters"][0];
        const std::uint32_t t = l["currentTime"];
        ASSERT_EQ(l["state"], "Fight");
        ASSERT_EQ(l["decisionTime"], 0);
        ASSERT_EQ(l["mode"], "training");
        const double h = quill["health"];
        lowest = std::min(lowest, h);
        if (quill["move"] == "quill-hit" && quill["moveStart"] == t) lastHitAt = t;
        // After the punching (the fight's time lags the clock by its hit-stops).
        if (h == 100 && healthBefore < 100 && l["clock"].get<std::uint32_t>() > 15000) {
            refilled = true;
            EXPECT_GE(t, lastHitAt + 1000);
            EXPECT_LE(t, lastHitAt + 1100);
        }
        healthBefore = h;
        if (t >= 17000 && t < 17100) resetSeen = resetSeen || (rook["x"] == 190 && quill["x"] == 570);
        const std::string dummy = l["training"]["dummy"];
        if (dummies.empty() || dummies.back() != dummy) dummies.push_back(dummy);
        if (dummy == "computer") dummyLevels.insert(l["computerLevels"][1].get<int>());
        if (dummy == "crouching" && t > 19200) {
            EXPECT_EQ(quill["held"], nlohmann::json::array({4}));
        }
        if (dummy == "blocking" && t > 20200) {
            EXPECT_EQ(quill["held"], nlohmann::json::array({5}));
        }
        if (l["training"]["recording"] == true) {
            // Rook holds nothing (a hit on rook may still add to its history).
            p1KeysWentToDummy = p1KeysWentToDummy && rook["held"].empty();
        }
        if (t > 23700 && quill["held"] == nlohmann::json::array({6})) playbackPresses.insert(t / 100);
    }
    EXPECT_EQ(lowest, 1.0);  // punched far past 100 damage, never knocked out
    EXPECT_TRUE(refilled);
    EXPECT_TRUE(resetSeen);
    // F7 steps the computer dummy through levels 1 to 5, then skips
    // playing back while nothing is recorded; recording makes it play back.
    const std::vector<std::string> want = {"standing", "crouching", "blocking", "computer", "standing", "playback"};
    EXPECT_EQ(dummies, want);
    EXPECT_EQ(dummyLevels, (std::set<int>{1, 2, 3, 4, 5}));
    EXPECT_TRUE(p1KeysWentToDummy);
    EXPECT_EQ(lines.back()["training"]["recorded"], 2);
    // The recording loops every 600 ms: its punch comes back again and again.
    EXPECT_GE(playbackPresses.size(), 3u);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "overlay.png"));
}

// The hit-mask overlay's outline colour in the presented frame.
int outlinePixels(const Game& game)
{
    int n = 0;
    const Surface& s = *game.screen.primarySurface;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) n += s.pixel(x, y) == 0x07FF;
    return n;
}

TEST(Training, OverlaysGoOverThePresentedFrameOnly)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(INKBLOT_DATA_DIR);
    HeadlessPlatform platform;
    Game game(platform);
    ASSERT_EQ(initDisplay(game), DD_OK);
    std::filesystem::current_path(previous);
    startFight(game, PlayMode::Training);
    for (int i = 0; i < 3; ++i) fightPass(game);
    EXPECT_EQ(outlinePixels(game), 0);
    game.screen.showHitMasks = true;
    fightPass(game);
    EXPECT_GT(outlinePixels(game), 200);  // both fighters outlined
    game.screen.showHitMasks = false;
    fightPass(game);
    EXPECT_EQ(outlinePixels(game), 0);  // nothing was drawn into the pictures
    // A two-player fight never shows them.
    game.screen.showHitMasks = true;
    game.fight.mode = PlayMode::TwoPlayers;
    fightPass(game);
    EXPECT_EQ(outlinePixels(game), 0);
}

}  // namespace
}  // namespace ib::test
