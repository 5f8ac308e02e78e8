// Matches played through inkblot-sim: rounds to the knock-out or the
// timer, the banners, the pause that stops the clock, restarting a round,
// the rematch, and a match played back from its replay.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "app/play_options.h"
#include "app/game.h"
#include "fight/match_rules.h"
#include "input/match_settings.h"
#include "sim/sim.h"
#include "support/fixtures.h"

namespace ib::test {
namespace {

std::vector<nlohmann::json> readTrace(const std::string& path)
{
    std::ifstream in(path);
    std::vector<nlohmann::json> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string tap(int t, const char* key)
{
    return std::to_string(t) + " down " + key + "\n" + std::to_string(t + 40) + " up " + key + "\n";
}

// Rounds of 6 s, each after 2 s of banners, best of three. Round 1: rook
// holds forward through the banners, walks in from "FIGHT"'s end and
// punches until the time runs out (won on health). Round 2: paused at
// 16.5 s for 2 s, then restarted from the pause menu; nobody moves, a
// draw. Round 3: a draw; rook wins the match 1-0. A masher's presses as
// the rematch menu opens choose nothing; a rematch, then Escape twice asks
// to quit: "No", then "Yes".
std::string pausedMatchScript()
{
    std::string s = "1100 down B\n5400 up B\n";
    for (int t = 5500; t < 8500; t += 500) s += tap(t, "X");
    s += tap(16500, "P") + tap(17000, "B") + tap(17500, "DOWN") + tap(18500, "ENTER");
    // A masher's attack key as the rematch menu opens (at 44.56 s).
    for (int t = 44200; t <= 44900; t += 100) s += tap(t, "X");
    s += tap(46000, "ENTER") + tap(48000, "ESCAPE") + tap(48300, "ESCAPE") + tap(48500, "ENTER");
    s += tap(48700, "ESCAPE") + tap(48900, "UP") + tap(49100, "ENTER");
    return s;
}

struct Seen {
    std::vector<std::string> banners;  // in the order they appear
    void note(const nlohmann::json& l)
    {
        if (l["banner"].is_null()) return;
        const std::string b = l["banner"];
        if (banners.empty() || banners.back() != b) banners.push_back(b);
    }
};

TEST(Match, TimeOutsDrawsPauseRestartAndRematch)
{
    ScratchDir dir;
    writeFile("match.script", pausedMatchScript());
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--match", "--timer", "6", "--script", "match.script",
                           "--step-ms", "40", "--trace", "match.jsonl", "--record", "match.replay"}),
              0);
    const auto lines = readTrace("match.jsonl");
    ASSERT_GT(lines.size(), 900u);
    Seen seen;
    bool restarted = false, rematched = false;
    int pausedPasses = 0;
    nlohmann::json atPause;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& l = lines[i];
        const std::uint32_t clock = l["clock"];
        ASSERT_TRUE(l.contains("round")) << "pass " << i;
        seen.note(l);
        // Before a round begins nobody moves and its timer stands full.
        if (l["banner"] == "ROUND 1" || (l["banner"] == "FIGHT" && clock < 3000)) {
            EXPECT_EQ(l["fighters"][0]["x"], 190) << clock;
            EXPECT_EQ(l["timer"], 6) << clock;
        }
        if (l["paused"] == true && clock < 20000) {
            if (pausedPasses++ == 0) atPause = l;
            // Nothing moves and the timer holds; player 1's key went to the menu.
            EXPECT_EQ(l["currentTime"], atPause["currentTime"]) << clock;
            EXPECT_EQ(l["timer"], atPause["timer"]) << clock;
            EXPECT_EQ(l["fighters"], atPause["fighters"]) << clock;
            EXPECT_EQ(l["menu"], "pause");
        }
        if (clock >= 18500 && clock < 18700 && lines[i - 1]["paused"] == true) {
            restarted = true;
            EXPECT_FALSE(l["paused"]);
            EXPECT_EQ(l["round"], 2);
            EXPECT_EQ(l["roundsWon"], nlohmann::json::array({1, 0}));
            EXPECT_EQ(l["timer"], 6);
            EXPECT_EQ(l["banner"], "ROUND 2");
            EXPECT_EQ(l["fighters"][0]["x"], 190);
            EXPECT_EQ(l["fighters"][1]["x"], 570);
            EXPECT_EQ(l["fighters"][1]["health"], 100.0);
        }
        // The masher's presses as the rematch menu opened chose nothing;
        // "Quit" asks, and "No" is chosen first.
        const char* menu = clock >= 44600 && clock < 46000   ? "rematch"
                           : clock >= 48320 && clock < 48520 ? "quit?"
                           : clock >= 48520 && clock < 48720 ? "pause"
                                                             : nullptr;
        if (menu) {
            EXPECT_EQ(l["menu"], menu) << clock;
        }
        if (clock >= 46000 && clock < 46200 && lines[i - 1]["menu"] == "rematch") {
            rematched = true;
            EXPECT_EQ(l["round"], 1);
            EXPECT_EQ(l["roundsWon"], nlohmann::json::array({0, 0}));
            EXPECT_EQ(l["timer"], 6);
            EXPECT_EQ(l["menu"], nullptr);
            EXPECT_EQ(l["fighters"][1]["health"], 100.0);
        }
    }
    EXPECT_GT(pausedPasses, 45);  // 2 s at 40 ms a pass
    EXPECT_TRUE(restarted);
    EXPECT_TRUE(rematched);
    const std::vector<std::string> want = {"ROUND 1", "FIGHT", "TIME", "ROOK WINS", "ROUND 2", "FIGHT",
                                           "ROUND 2", "FIGHT", "TIME",  "DRAW",      "ROUND 3", "FIGHT",
                                           "TIME",    "DRAW",  "ROOK WINS 1-0", "ROUND 1", "FIGHT"};
    EXPECT_EQ(seen.banners, want);
    // The second Escape asks; "Yes" closes the game.
    EXPECT_EQ(lines.back()["menu"], "quit?");
    EXPECT_LT(lines.back()["clock"].get<std::uint32_t>(), 49200u);

    // The replay plays the match back, pause and rematch, hash for hash.
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--replay", "match.replay", "--trace", "replayed.jsonl"}), 0);
    EXPECT_EQ(readText("replayed.jsonl"), readText("match.jsonl"));
}

// The computer against itself, best of three with 5 s rounds: seeds that
// end 2-0 and 2-1; each round's winner is named and the rounds won add up.
TEST(Match, ComputerMatchesEndTwoNilAndTwoOne)
{
    ScratchDir dir;
    for (const auto& [seed, score] : {std::pair{"5", "2-0"}, std::pair{"4", "2-1"}}) {
        const std::string trace = std::string("cpu-") + seed + ".jsonl";
        ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--cpu", "1:3", "--cpu", "2:3", "--seed", seed,
                               "--timer", "5", "--step-ms", "50", "--passes", "800", "--trace", trace}),
                  0);
        Seen seen;
        int roundWins = 0;
        for (const auto& l : readTrace(trace)) {
            seen.note(l);
            const int won = l["roundsWon"][0].get<int>() + l["roundsWon"][1].get<int>();
            EXPECT_GE(won, roundWins);
            roundWins = won;
        }
        ASSERT_FALSE(seen.banners.empty());
        const std::string last = seen.banners.back();
        EXPECT_EQ(last.substr(last.size() - 3), score) << seed;
        EXPECT_NE(std::find(seen.banners.begin(), seen.banners.end(), "ROUND 2"), seen.banners.end());
    }
}

TEST(Match, OptionsAreReadCheckedAndKeptForReplays)
{
    PlayOptions o;
    const char* args[] = {"game", "--match", "--rounds", "5", "--timer", "0", "--rounds", "10", "--timer", "100"};
    for (int i = 1; i < 10;) i += std::max(1, readPlayOption(10, args, i, o));
    EXPECT_TRUE(o.match);
    EXPECT_EQ(o.startMode, PlayMode::TwoPlayers);
    EXPECT_EQ(o.rounds, 5);  // 10 rounds and 100 s are refused
    EXPECT_EQ(o.timerSeconds, 0u);
    EXPECT_EQ(playArguments(o), (std::vector<std::string>{"--match", "--rounds", "5", "--timer", "0"}));
}

}  // namespace
}  // namespace ib::test

namespace ib::test {
namespace {

// A pad's Start pauses and resumes; in the menu its D-pad and `a` choose.
TEST(Match, PadStartPausesAndThePadTakesTheMenu)
{
    ScratchDir dir;
    writeFile("pad.script",
              "1000 pad-added 1\n1100 down B\n4000 pad 1 down start\n4040 pad 1 up start\n"
              "4500 pad 1 down start\n4540 pad 1 up start\n5000 pad 1 down start\n5040 pad 1 up start\n"
              "5200 pad 1 down dpdown\n5240 pad 1 up dpdown\n5500 pad 1 down a\n5540 pad 1 up a\n");
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--match", "--script", "pad.script", "--step-ms", "20",
                           "--passes", "300", "--trace", "pad.jsonl"}),
              0);
    std::set<std::uint32_t> pausedAt;
    for (const auto& l : readTrace("pad.jsonl")) {
        const std::uint32_t clock = l["clock"];
        if (l["paused"] == true) pausedAt.insert(clock / 500);
        if (clock == 5500) {  // "Restart the round": rook, who walked in, is back at his start
            EXPECT_EQ(l["paused"], false);
            EXPECT_EQ(l["fighters"][0]["x"], 190);
            EXPECT_EQ(l["banner"], "ROUND 1");
        }
        if (clock == 5480) {
            EXPECT_EQ(l["menuChoice"], 1);
            EXPECT_GT(l["fighters"][0]["x"].get<int>(), 190);
        }
    }
    EXPECT_EQ(pausedAt, (std::set<std::uint32_t>{8, 10}));  // 4000-4499 and 5000-5499
}

}  // namespace
}  // namespace ib::test

namespace ib::test {
namespace {

TEST(MatchSettings, TheControlsFileSetsRoundsAndTimerUnlessTheCommandLineDoes)
{
    const MatchSettings read = readMatchSettings(
        "[player1]\nattack = X\n[match]\nrounds = 5 ; best of five\ntimer=0\nfoo = 1\n[pads]\nrounds = 12\n");
    EXPECT_EQ(read.rounds, 5);
    EXPECT_EQ(read.timerSeconds, 0u);
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].line, 6);
    EXPECT_FALSE(read.inputDelay);
    const MatchSettings bad =
        readMatchSettings("[match]\nrounds = 10\ntimer = -1\n[online]\ndelay = 5\n[play]\nlevel = 6\n");
    EXPECT_FALSE(bad.rounds);
    EXPECT_FALSE(bad.timerSeconds);
    EXPECT_FALSE(bad.inputDelay);
    EXPECT_FALSE(bad.computerLevel);
    ASSERT_EQ(bad.problems.size(), 4u);
    EXPECT_EQ(bad.problems[2].line, 5);
    EXPECT_EQ(bad.problems[3].what, "level \"6\" is not a computer level from 1 to 5");
    EXPECT_EQ(readMatchSettings("[online]\ndelay = 0\n[match]\ndelay = 3\n").inputDelay, 0);
    // The lobby's server and the name shown there; a name it would refuse is said.
    const MatchSettings lobby = readMatchSettings("[online]\nlobby = lobby.example.org:5300\nname = Ann B\n");
    EXPECT_EQ(lobby.lobby, "lobby.example.org:5300");
    EXPECT_EQ(lobby.playerName, "Ann B");
    const MatchSettings badLobby =
        readMatchSettings("[online]\nlobby = a b\nname = a-name-longer-than-24-letters\n");
    EXPECT_FALSE(badLobby.lobby);
    EXPECT_FALSE(badLobby.playerName);
    ASSERT_EQ(badLobby.problems.size(), 2u);
    EXPECT_EQ(badLobby.problems[0].line, 2);

    ScratchDir dir;
    writeFile("controls.ini", "[match]\nrounds = 1\ntimer = 2\n");
    ASSERT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--config", "controls.ini", "--match", "--timer", "3",
                           "--step-ms", "50", "--passes", "260", "--trace", "config.jsonl"}),
              0);
    const auto lines = readTrace("config.jsonl");
    EXPECT_EQ(lines.front()["timer"], 3);  // the command line's
    // One round (the file's): a draw on time, and the match is over.
    EXPECT_EQ(lines.back()["menu"], "rematch");
    EXPECT_EQ(lines.back()["round"], 1);
}

}  // namespace
}  // namespace ib::test
