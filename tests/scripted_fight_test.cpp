// Whole fights of the default content played through the headless game from
// scripted keys.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

// Runs the game in a content directory until it exits, keeping an eye on
// both fighters after every pass.
struct Fight {
    explicit Fight(const std::filesystem::path& dir) : previous(std::filesystem::current_path())
    {
        std::filesystem::current_path(dir);
    }
    ~Fight() { std::filesystem::current_path(previous); }

    int play(std::vector<ScriptEvent> script, long long maxPasses = 20000)
    {
        HeadlessPlatform platform;
        platform.setScript(std::move(script));
        platform.setMaxPasses(maxPasses);
        Game game(platform);
        platform.onPassEnd = [&] {
            if (game.fight.fighter1 && game.fight.gameState == GameState::Fight) {
                health1 = game.fight.fighter1->health;
                health2 = game.fight.fighter2->health;
            }
            if (game.fight.gameState == GameState::End && endedAt == 0) endedAt = platform.passStartClock();
            decisionTime = game.fight.decisionTime;
            return true;
        };
        return runGame(game);
    }

    std::filesystem::path previous;
    double health1 = 100.0;
    double health2 = 100.0;
    std::uint32_t decisionTime = 0;
    std::uint32_t endedAt = 0;
};

// Press and release of one key.
void tap(std::vector<ScriptEvent>& s, std::uint32_t t, int key, std::uint32_t hold = 50)
{
    s.push_back(keyDown(t, key));
    s.push_back(keyUp(t + hold, key));
}

// Leaves the splash at 1100 and walks the attacker in until `until`.
std::vector<ScriptEvent> opening(int forward, std::uint32_t until = 3000)
{
    std::vector<ScriptEvent> s;
    tap(s, 1100, VK_SPACE);
    s.push_back(keyDown(1300, forward));
    s.push_back(keyUp(until, forward));
    return s;
}

// Walks in a little and attacks, again and again, for a minute of game time.
std::vector<ScriptEvent> pressing(int forward, int attack)
{
    auto s = opening(forward);
    for (std::uint32_t t = 3100; t < 61000; t += 800) {
        tap(s, t, forward, 200);
        tap(s, t + 300, attack);
    }
    return s;
}

const std::filesystem::path kData = INKBLOT_DATA_DIR;

// Rook's knock-out of quill is the knockout trace's (trace_golden_test).
TEST(DefaultFight, QuillBeatsAnIdleRookByKnockOut)
{
    Fight f(kData);
    EXPECT_EQ(f.play(pressing(VK_LEFT, VK_OEM_2)), 0);
    EXPECT_LE(f.health1, 0.0);
    EXPECT_GT(f.health2, 0.0);
    ASSERT_NE(f.decisionTime, 0u);
    EXPECT_LT(f.decisionTime, 61000u);
    EXPECT_GT(f.endedAt, f.decisionTime + 5000);
}

// Health quill loses to one attack made at close range.
double damageOf(const std::vector<std::pair<std::uint32_t, int>>& downs,
                const std::vector<std::pair<std::uint32_t, int>>& ups)
{
    Fight f(kData);
    // Close enough to touch: the walk stops where the bodies meet.
    auto s = opening('B', 7000);
    for (auto [t, key] : downs) s.push_back(keyDown(t, key));
    for (auto [t, key] : ups) s.push_back(keyUp(t, key));
    std::sort(s.begin(), s.end(), [](auto& a, auto& b) { return a.time < b.time; });
    s.push_back({9000, ScriptEvent::Kind::Close, 0});
    EXPECT_EQ(f.play(s), 0);
    return 100.0 - f.health2;
}

TEST(DefaultFight, TheSpecialTakesMoreThanAPunch)
{
    const double punch = damageOf({{7200, 'X'}}, {{7250, 'X'}});
    // Down, down and forward, forward, forward and attack.
    const double special = damageOf({{7200, 'V'}, {7240, 'B'}, {7320, 'X'}},
                                    {{7280, 'V'}, {7360, 'X'}, {7400, 'B'}});
    EXPECT_GT(punch, 0.0);
    EXPECT_GT(special, punch);
}

}  // namespace
}  // namespace ib::test
