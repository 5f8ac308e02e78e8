// The sounds a fight reports: scripted fights of the default content in
// inkblot-sim, read back from the trace's "sounds", checked against what
// the same trace shows of health and the knock-out.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/game.h"
#include "fight/sound_events.h"
#include "platform/headless_platform.h"
#include "sim/script.h"
#include "sim/sim.h"
#include "support/fixtures.h"
#include "support/trace_file.h"

namespace ib::test {
namespace {

using nlohmann::json;

std::vector<json> simTrace(const std::string& script, const char* passes)
{
    ScratchDir dir;
    writeFile("fight.script", script);
    const std::string trace = (dir.path() / "t.jsonl").string();
    EXPECT_EQ(sim::runSim({"--data", INKBLOT_DATA_DIR, "--script", (dir.path() / "fight.script").string(),
                           "--passes", passes, "--trace", trace}),
              0);
    return readTrace(trace);
}

bool isBlow(const json& sound)
{
    const std::string kind = sound["sound"];
    return kind == "hit" || kind == "block" || kind == "knockout";
}

struct Blow {
    std::size_t pass;  // index into the trace
    json sound;
};

std::vector<Blow> blowsOf(const std::vector<json>& trace)
{
    std::vector<Blow> out;
    for (std::size_t i = 0; i < trace.size(); ++i)
        for (const json& s : trace[i]["sounds"])
            if (isBlow(s)) out.push_back({i, s});
    return out;
}

double health(const json& pass, int fighter) { return pass["fighters"][fighter - 1]["health"]; }

// Passes (indices) in which fighter's health fell.
std::vector<std::size_t> healthDrops(const std::vector<json>& trace, int fighter)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 1; i < trace.size(); ++i)
        if (health(trace[i], fighter) < health(trace[i - 1], fighter)) out.push_back(i);
    return out;
}

// Rook walks up to quill and punches once (the README's example); quill
// holds Block from the start when `block` is set.
std::string punchScript(bool block)
{
    return std::string(block ? "1100 down PERIOD\n" : "") + readText(INKBLOT_SOURCE_DIR "/docs/punch.script");
}

TEST(FightSounds, ALandedStrikeSoundsAsLoudAsItsDamageABlockedOneThuds)
{
    const auto trace = simTrace(punchScript(false), "300");
    const auto blows = blowsOf(trace);
    ASSERT_EQ(blows.size(), 1u);
    const auto drops = healthDrops(trace, 2);
    ASSERT_EQ(drops, std::vector<std::size_t>{blows[0].pass});
    const double damage = health(trace[drops[0] - 1], 2) - health(trace[drops[0]], 2);
    EXPECT_EQ(blows[0].sound, (json{{"sound", "hit"}, {"fighter", 2}, {"volume", blowVolume(damage)}}));

    // The punch's swish: once, in the pass that shows the punch's start.
    int swishes = 0;
    for (std::size_t i = 0; i < trace.size(); ++i)
        for (const json& s : trace[i]["sounds"])
            if (s["sound"] == "move") {
                ++swishes;
                EXPECT_EQ(s["move"], "rook-punch");
                EXPECT_EQ(s["fighter"], 1);
                EXPECT_EQ(trace[i]["fighters"][0]["move"], "rook-punch");
                EXPECT_LT(i, blows[0].pass);
            }
    EXPECT_EQ(swishes, 1);

    // More damage, a louder blow.
    EXPECT_LT(blowVolume(0.0), blowVolume(8.0));
    EXPECT_LT(blowVolume(8.0), blowVolume(11.0));
    EXPECT_EQ(blowVolume(1000.0), 100);
    EXPECT_EQ(blowVolume(-5.0), blowVolume(0.0));

    // Blocked, the same punch thuds once, costs nothing, in the pass quill reacts in.
    const auto blockedTrace = simTrace(punchScript(true), "300");
    const auto thuds = blowsOf(blockedTrace);
    ASSERT_EQ(thuds.size(), 1u);
    EXPECT_EQ(thuds[0].sound["sound"], "block");
    EXPECT_EQ(thuds[0].sound["fighter"], 2);
    EXPECT_TRUE(healthDrops(blockedTrace, 2).empty());
    EXPECT_EQ(blockedTrace[thuds[0].pass]["fighters"][1]["move"], "quill-blocked");
    EXPECT_NE(blockedTrace[thuds[0].pass - 1]["fighters"][1]["move"], "quill-blocked");
}

TEST(FightSounds, AKnockOutSoundsOnceInThePassThatDecidesTheFight)
{
    const auto trace = simTrace(readText(INKBLOT_SOURCE_DIR "/docs/screenshots.script"), "1500");
    const auto blows = blowsOf(trace);
    std::vector<std::size_t> knockOuts, hits;
    for (const Blow& b : blows) {
        EXPECT_EQ(b.sound["fighter"], 2);
        (b.sound["sound"] == "knockout" ? knockOuts : hits).push_back(b.pass);
    }
    ASSERT_EQ(knockOuts.size(), 1u);
    const std::size_t ko = knockOuts[0];
    EXPECT_EQ(trace[ko - 1]["decisionTime"], 0);
    EXPECT_NE(trace[ko]["decisionTime"], 0);
    EXPECT_LE(health(trace[ko], 2), 0.0);
    // Every other fall of quill's health is a hit of its own pass, and
    // nothing sounds in a pass where health did not fall.
    auto drops = healthDrops(trace, 2);
    drops.erase(std::remove(drops.begin(), drops.end(), ko), drops.end());
    EXPECT_EQ(hits, drops);
    EXPECT_GT(hits.size(), 3u);
}

// The headless game over the default content: every sound reported, and
// the clock of the first pass of the fight.
struct HeadlessFight {
    explicit HeadlessFight(const std::string& script)
    {
        auto parsed = sim::parseScript(script + "5000 down ESCAPE\n");
        EXPECT_TRUE(parsed.error.empty());
        platform.setScript(parsed.events);
        game.content.contentFiles.setFolder(INKBLOT_DATA_DIR);
        platform.onPassEnd = [&] {
            reported.insert(reported.end(), game.sounds.begin(), game.sounds.end());
            if (fightFrom == 0 && game.fight.gameState == GameState::Fight) fightFrom = platform.passStartClock();
            return true;
        };
        EXPECT_EQ(runGame(game), 0);
    }
    HeadlessPlatform platform;
    Game game{platform};
    SoundEvents reported;
    std::uint32_t fightFrom = 0;
};

TEST(FightSounds, TheGamePlaysEachReportedSoundOnce)
{
    HeadlessFight run(punchScript(false));
    const SoundEvents& reported = run.reported;
    const auto& played = run.platform.recordingSound().played();
    ASSERT_EQ(played.size(), reported.size());
    ASSERT_GE(played.size(), 3u);  // the chime, the swish and the splat at least
    for (std::size_t i = 0; i < played.size(); ++i) {
        const char* file = reported[i].kind == SoundKind::Splash ? "chime.wav"
                           : reported[i].kind == SoundKind::Hit  ? "hit.wav"
                           : reported[i].kind == SoundKind::Move ? "swish.wav"
                                                                 : "plip.wav";
        EXPECT_EQ(std::filesystem::path(played[i].path).filename(), file) << i;
        EXPECT_EQ(played[i].volume, reported[i].volume);
    }
    EXPECT_EQ(run.platform.recordingSound().music(), std::string(INKBLOT_DATA_DIR) + "/desert.music.wav");
}

TEST(FightSounds, F10SilencesTheGameAndLeavesTheSplashAlone)
{
    HeadlessFight run("1050 down F10\n1060 up F10\n" + punchScript(false));
    EXPECT_GE(run.fightFrom, 1100u);  // the SPACE at 1100 started the fight
    EXPECT_EQ(run.reported.size(), 3u);  // the chime, the swish, the splat: reported,
    EXPECT_TRUE(run.platform.recordingSound().played().empty());  // but not heard
    EXPECT_EQ(run.platform.recordingSound().effectsVolume(), 0);
}

}  // namespace
}  // namespace ib::test
