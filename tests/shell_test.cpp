// The game's shell driven through the headless platform: start-up, the
// fight's end, minimising with nothing to wait for, the retry rule and the
// display's failures. The first key, the splash's passes and minimising
// mid-fight are pinned pass for pass by the golden traces (tests/traces).
#include <gtest/gtest.h>

#include "app/display.h"
#include "support/fixtures.h"
#include "support/tiny_game.h"

namespace ib::test {
namespace {

using K = ScriptEvent::Kind;

TEST(Shell, EscapeOnTheSplashClosesWithoutDrawingAFight)
{
    for (int key : {VK_ESCAPE, VK_F12}) {
        TinyGameDir dir;
        TinyRun r({keyDown(1100, key)});
        int fightPasses = 0;
        r.platform.onPassEnd = [&] {
            fightPasses += r.game->fight.gameState == GameState::Fight;
            return true;
        };
        EXPECT_EQ(r.run(), 0);
        EXPECT_EQ(fightPasses, 0);
        EXPECT_EQ(r.game->fight.gameState, GameState::Fight);
        EXPECT_EQ(r.game->fight.currentTime, 0u);
        EXPECT_FALSE(r.platform.displayHeld());
        EXPECT_FALSE(r.platform.windowShown());
    }
}

TEST(Shell, MinimisedWithNothingLeftToWaitForEndsTheRun)
{
    TinyGameDir dir;
    TinyRun r({event(1100, K::Minimize)});
    EXPECT_EQ(r.run(), 0);
    EXPECT_EQ(r.platform.passes(), 7);
}

TEST(Shell, FightEndsMoreThanFiveSecondsAfterTheDecision)
{
    TinyGameDir dir;
    // Steps of 1 ms so every boundary is met exactly.
    HeadlessPlatform platform(1000, 1);
    platform.setScript({keyDown(1000, VK_SPACE)});
    Game game(platform);
    std::vector<std::pair<std::uint32_t, GameState>> after;
    platform.onPassEnd = [&] {
        // The first fight pass stamps 1000: decide the fight 4990 ms earlier.
        if (game.fight.gameState == GameState::Fight && game.fight.decisionTime == 0)
            game.fight.decisionTime = game.fight.currentTime - 4990;
        after.emplace_back(platform.passStartClock(), game.fight.gameState);
        return true;
    };
    EXPECT_EQ(runGame(game), 0);
    ASSERT_EQ(after.size(), 13u);
    // currentTime - decisionTime = 5000 (pass at 1010) does not end it; 5001 does.
    EXPECT_EQ(after[10], std::make_pair(1010u, GameState::Fight));
    EXPECT_EQ(after[11], std::make_pair(1011u, GameState::End));
    // The end screen is drawn once and held 5 seconds; then the window closes.
    EXPECT_EQ(after[12], std::make_pair(1012u, GameState::End));
    EXPECT_EQ(platform.clock(), 1013u + 5000u);
    EXPECT_EQ(game.screen.primarySurface, nullptr);
}

TEST(Shell, SlowIsOneExactArgumentAnywhere)
{
    HeadlessPlatform platform;
    // The first is the program's own name, not an argument.
    for (auto [args, slow] : std::initializer_list<std::pair<std::vector<const char*>, bool>>{
             {{"game", "slow"}, true}, {{"game", "x", "y", "slow", "slow"}, true}, {{"game"}, false},
             {{"game", "Slow", "-slow", "slow2", " slow", "SLOW"}, false}, {{"slow"}, false}}) {
        Game game(platform);
        readArguments(game, static_cast<int>(args.size()), args.data());
        EXPECT_EQ(game.screen.slowMode, slow) << args.back();
    }
}

TEST(Shell, RetryRuleAnswers)
{
    TinyGameDir dir;
    TinyRun r({}, 1);
    ASSERT_EQ(r.run(), 0);
    Game& g = *r.game;
    int calls = 0;
    EXPECT_TRUE(retryRule(g.screen, [&] { return ++calls < 4 ? DDERR_WASSTILLDRAWING : DD_OK; }));
    EXPECT_EQ(calls, 4);
    calls = 0;
    EXPECT_FALSE(retryRule(g.screen, [&] { return ++calls, DDERR_INVALIDRECT; }));
    EXPECT_EQ(calls, 1);
    // A loss restores every picture and is not issued again.
    g.screen.directDraw->loseSurfaces();
    calls = 0;
    EXPECT_FALSE(retryRule(g.screen, [&] { return ++calls, DDERR_SURFACELOST; }));
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(g.screen.splashSurface->isLost());
    EXPECT_EQ(g.screen.splashSurface->pixel(5, 5), kSplashColour);
    EXPECT_FALSE(g.screen.backBuffer->isLost());
}

TEST(Shell, ReleasingTheDisplayTwiceIsHarmless)
{
    TinyGameDir dir;
    TinyRun r({}, 1);
    ASSERT_EQ(r.run(), 0);
    releaseDisplay(*r.game);
    EXPECT_FALSE(r.game->screen.directDraw);
    EXPECT_FALSE(r.game->screen.backBuffer);
    releaseDisplay(*r.game);
    EXPECT_FALSE(r.platform.displayHeld());
    // Drawing after the release draws nothing and does not crash.
    EXPECT_FALSE(present(r.game->screen));
}

TEST(Shell, EachDisplayFailureShowsItsTextAndEndsWithTwo)
{
    const std::pair<DisplayStep, const char*> cases[] = {
        {DisplayStep::Create, "DirectDrawCreateEx FAILED"},
        {DisplayStep::Cooperative, "SetCooperativeLevel FAILED"},
        {DisplayStep::Mode, "SetDisplayMode FAILED"},
        {DisplayStep::Surface, "CreateSurface FAILED"},
        {DisplayStep::Attach, "GetAttachedSurface FAILED"},
    };
    for (const auto& [step, text] : cases) {
        TinyGameDir dir;
        TinyRun r;
        r.platform.failStep(step);
        EXPECT_EQ(r.run(), kExitDisplayError) << text;
        EXPECT_EQ(r.platform.messageBoxes(), std::vector<std::string>{text});
        EXPECT_FALSE(r.platform.displayHeld()) << text;
        EXPECT_FALSE(r.platform.windowShown()) << text;
        EXPECT_EQ(r.platform.passes(), 0);
    }
    // A refused window shows no box (there is no window to own it).
    TinyRun r;
    r.platform.failStep(DisplayStep::Window);
    EXPECT_EQ(r.run(), kExitDisplayError);
    EXPECT_TRUE(r.platform.messageBoxes().empty());
}

TEST(Shell, ContentFailureShowsTheReadersTextAndEndsWithOne)
{
    TinyGameDir dir;
    std::filesystem::remove("quill.Character");
    TinyRun r;
    EXPECT_EQ(r.run(), kExitContentError);
    EXPECT_EQ(r.platform.messageBoxes(), std::vector<std::string>{"Character file read error <quill>"});
    EXPECT_FALSE(r.platform.displayHeld());
    EXPECT_EQ(r.platform.passes(), 0);
}

TEST(Shell, MissingScreenPicturesLeaveTheScreenBlack)
{
    TinyGameDir dir({.screens = false, .quotes = false});
    testing::internal::CaptureStderr();
    TinyRun r({keyDown(1050, 'Q'), event(1500, K::Close)});
    EXPECT_EQ(r.run(), 0);
    std::string err = testing::internal::GetCapturedStderr();
    for (const char* name : {"splash.tga", "endsplash.tga", "pink.screen.tga"}) {
        const std::string quoted = std::string("<") + name + ">";
        auto first = err.find(quoted);
        EXPECT_NE(first, std::string::npos) << name;
        EXPECT_EQ(err.find(quoted, first + 1), std::string::npos) << name << " said twice";
    }
    EXPECT_TRUE(r.game->content.quoteBook.empty());
}

}  // namespace
}  // namespace ib::test
